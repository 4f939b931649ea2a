#include "dice_properties_dlg.h"

#include "int_text.h"
#include "up_down_ctrl.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace rp {

CDicePropertiesDlg::CDicePropertiesDlg(QWidget* parent)
    : CExchangeDialog(parent), titleEdit(new QLineEdit(this)), multiplierEdit(new QLineEdit(this)),
      modifierEdit(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Dice Properties"));
    auto* modifierSpin = new CUpDownCtrl(this);
    connect(modifierSpin, &CUpDownCtrl::Stepped, this, &CDicePropertiesDlg::OnStep);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Title"), this), 0, 0, 1, 2);
    fields->addWidget(titleEdit, 1, 0, 1, 2);
    fields->setRowMinimumHeight(2, 8);
    fields->addWidget(new QLabel(QStringLiteral("Multiplier (x)"), this), 3, 0);
    fields->addWidget(multiplierEdit, 4, 0);
    fields->addWidget(new QLabel(QStringLiteral("Modifier (+/-)"), this), 3, 1);
    fields->addLayout(WithUpDown(modifierEdit, modifierSpin), 4, 1);
    setTabOrder(titleEdit, multiplierEdit);
    setTabOrder(multiplierEdit, modifierEdit);
    SetFields(fields, titleEdit, modifierEdit);
}

bool CDicePropertiesDlg::UpdateData(bool save) {
    if (!save) {
        titleEdit->setText(title);
        multiplierEdit->setText(multiplierText);
        modifierEdit->setText(QString::number(modifier));
        return true;
    }
    // The title is always taken, so a bad number never costs a typed title.
    title = titleEdit->text();
    // A multiplier left as it opened (empty for differing groups) is not
    // checked; a mistyped one would silently read as 0.
    const QString multiplier = multiplierEdit->text();
    if (multiplier != multiplierText && !IsFractionText(multiplier)) {
        RejectField(multiplierEdit,
                    QStringLiteral("Please enter a fraction such as 1, 1/2 or 3/2."));
        return false;
    }
    multiplierText = multiplier;
    return ExchangeInt(modifierEdit, modifier);
}

void CDicePropertiesDlg::OnStep(int delta) {
    UpdateData();
    // No limit, but the sum stays in range instead of wrapping.
    modifier = ClampToInt(std::int64_t{modifier} + delta);
    UpdateData(false);
}

} // namespace rp
