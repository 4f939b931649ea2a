#include "data_exchange.h"

#include "up_down_ctrl.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

namespace rp {

std::optional<int> ParseIntText(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<quint32> ParseUIntText(const QString& text) {
    QStringView digits = QStringView(text).trimmed();
    if (digits.startsWith(u'+'))
        digits = digits.mid(1);
    if (digits.isEmpty())
        return std::nullopt;
    constexpr quint64 kMax = std::numeric_limits<quint32>::max();
    quint64 value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = std::min(kMax, value * 10 + (c.unicode() - u'0'));
    }
    return static_cast<quint32>(value);
}

bool IsFractionText(const QString& text) {
    const QStringList parts = text.split(u'/');
    if (parts.size() == 1)
        return ParseIntText(parts[0]).has_value();
    const std::optional<int> denominator =
        parts.size() == 2 ? ParseIntText(parts[1]) : std::nullopt;
    return ParseIntText(parts[0]) && denominator && *denominator != 0;
}

bool ExchangeInt(QLineEdit* field, int& value) {
    const std::optional<int> read = ParseIntText(field->text());
    if (!read) {
        RejectField(field, QStringLiteral("Please enter an integer."));
        return false;
    }
    value = *read;
    return true;
}

bool ExchangeUInt(QLineEdit* field, quint32& value, quint32 min, quint32 max) {
    const std::optional<quint32> read = ParseUIntText(field->text());
    if (!read) {
        RejectField(field, QStringLiteral("Please enter a positive integer."));
        return false;
    }
    if (*read < min || *read > max) {
        RejectField(field,
                    QStringLiteral("Please enter an integer between %1 and %2.").arg(min).arg(max));
        return false;
    }
    value = *read;
    return true;
}

void RejectField(QLineEdit* field, const QString& message) {
    QMessageBox::warning(field->window(), QApplication::applicationDisplayName(), message);
    field->window()->activateWindow();
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

CExchangeDialog::CExchangeDialog(QWidget* parent) : QDialog(parent) {}

void CExchangeDialog::accept() {
    if (UpdateData())
        QDialog::accept();
}

void CExchangeDialog::SetFields(QLayout* fields, QLineEdit* first, QLineEdit* last) {
    firstField = first;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(last, ok);
    setTabOrder(ok, cancel);
}

QLabel* CExchangeDialog::FieldLabel(const QString& text, QWidget* field) {
    auto* label = new QLabel(text, this);
    label->setBuddy(field);
    return label;
}

QHBoxLayout* CExchangeDialog::WithUpDown(QLineEdit* field, CUpDownCtrl* upDown) {
    upDown->SetBuddy(field);
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(field);
    row->addWidget(upDown);
    return row;
}

void CExchangeDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        UpdateData(false);
        // The first field starts with the focus, its text selected.
        firstField->setFocus();
        firstField->selectAll();
    }
    QDialog::showEvent(event);
}

} // namespace rp
