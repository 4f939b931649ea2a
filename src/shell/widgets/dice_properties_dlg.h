#pragma once

#include "data_exchange.h"

namespace rp {

// "Dice Properties": the title, multiplier and modifier of the selected
// dice groups. The caller fills the fields, runs the dialog and, after OK,
// reads them back.
class CDicePropertiesDlg : public CExchangeDialog {
    Q_OBJECT
public:
    explicit CDicePropertiesDlg(QWidget* parent = nullptr);

    QString title;
    QString multiplierText;
    int modifier = 0;

    bool UpdateData(bool save = true) override;

    QLineEdit* TitleEdit() const { return titleEdit; }
    QLineEdit* MultiplierEdit() const { return multiplierEdit; }
    QLineEdit* ModifierEdit() const { return modifierEdit; }

private:
    void OnStep(int delta);

    QLineEdit* titleEdit;
    QLineEdit* multiplierEdit;
    QLineEdit* modifierEdit;
};

} // namespace rp
