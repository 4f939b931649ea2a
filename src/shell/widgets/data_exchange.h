#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;

namespace rp {

// Reading numbers typed into dialog fields. A field that does not hold an
// acceptable value shows its message, keeps the focus with its text
// selected, and the read fails.

// A signed 32-bit integer, blanks around it allowed.
std::optional<int> ParseIntText(const QString& text);
// Digits with an optional "+", blanks around them allowed; values past the
// 32-bit range read as its largest value.
std::optional<quint32> ParseUIntText(const QString& text);

// An integer, or an integer, "/" and a non-zero integer; a sign on each and
// blanks around each allowed.
bool IsFractionText(const QString& text);

// "Please enter an integer." when the field holds no integer.
bool ExchangeInt(QLineEdit* field, int& value);
// "Please enter a positive integer." when the field holds no unsigned
// integer, "Please enter an integer between MIN and MAX." when it is outside.
bool ExchangeUInt(QLineEdit* field, quint32& value, quint32 min, quint32 max);

// Shows `message` in a warning box over the field's dialog, then gives the
// field the focus with its whole text selected.
void RejectField(QLineEdit* field, const QString& message);

class CUpDownCtrl;

// A modal dialog whose fields are exchanged with its controls: written when
// it opens, read and checked on OK, which closes it only when all are good.
class CExchangeDialog : public QDialog {
    Q_OBJECT
public:
    // Reads the fields from the controls (false after showing why one is not
    // acceptable: that field keeps its last good value), or writes them.
    virtual bool UpdateData(bool save = true) = 0;

    void accept() override;

protected:
    explicit CExchangeDialog(QWidget* parent);

    // Lays out the fields with OK (the default) and Cancel stacked on their
    // right; tabbing goes through the fields, then OK and Cancel.
    void SetFields(QLayout* fields, QLineEdit* first, QLineEdit* last);
    // The label naming `field`, whose "&" letter with Alt moves the focus
    // there; screen readers read it as the field's name.
    QLabel* FieldLabel(const QString& text, QWidget* field);
    // A field with its up-down control attached on the right.
    static QHBoxLayout* WithUpDown(QLineEdit* field, CUpDownCtrl* upDown);

    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* firstField = nullptr;
};

} // namespace rp
