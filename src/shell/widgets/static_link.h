#pragma once

#include <QColor>
#include <QLabel>

namespace rp {

// The target of a link: a web address, or a "mailto:" address.
class CHyperlink : public QString {
public:
    CHyperlink(const QString& target = QString()) : QString(target) {}

    // Asks the desktop to open the target; false when it is empty, is no
    // address with a scheme, or the desktop could not open it.
    bool Navigate() const;
};

// A text that works as a link: blue and underlined with the hand cursor; a
// click (or Space or Enter when it has the focus) opens its target, which
// then turns purple, or beeps when the desktop cannot open it. Without a
// target it opens its own text, when that is an address.
class CStaticLink : public QLabel {
    Q_OBJECT
public:
    static constexpr QRgb kUnvisitedColour = qRgb(0, 0, 255);
    static constexpr QRgb kVisitedColour = qRgb(128, 0, 128);

    explicit CStaticLink(const QString& text = QString(), const CHyperlink& link = CHyperlink(),
                         QWidget* parent = nullptr);

    CHyperlink link;

    QColor Colour() const { return colour; }
    // Opens the target as a click does.
    void Open();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SetColour(const QColor& textColour);

    QColor colour;
};

} // namespace rp
