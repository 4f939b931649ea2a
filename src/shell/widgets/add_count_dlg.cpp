#include "add_count_dlg.h"

#include "up_down_ctrl.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace rp {

CAddCountDlg::CAddCountDlg(QWidget* parent)
    : CExchangeDialog(parent), countEdit(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Add Dice"));
    auto* countSpin = new CUpDownCtrl(this);
    connect(countSpin, &CUpDownCtrl::Stepped, this, &CAddCountDlg::OnStep);

    auto* fields = new QVBoxLayout;
    fields->addWidget(FieldLabel(QStringLiteral("&Number to add:"), countEdit));
    fields->addLayout(WithUpDown(countEdit, countSpin));
    fields->addStretch();
    SetFields(fields, countEdit, countEdit);
}

bool CAddCountDlg::UpdateData(bool save) {
    if (save)
        return ExchangeUInt(countEdit, count, kMinCount, kMaxCount);
    countEdit->setText(QString::number(count));
    return true;
}

void CAddCountDlg::OnStep(int delta) {
    UpdateData();
    // The arrows stop at the limits.
    if (delta > 0 && count < kMaxCount)
        ++count;
    else if (delta < 0 && count > kMinCount)
        --count;
    UpdateData(false);
}

} // namespace rp
