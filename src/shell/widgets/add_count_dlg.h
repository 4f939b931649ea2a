#pragma once

#include "data_exchange.h"

namespace rp {

// "Add Dice": how many dice of one kind to add, 1 to 30. The caller sets
// `count` to the last count used and reads it back after OK.
class CAddCountDlg : public CExchangeDialog {
    Q_OBJECT
public:
    static constexpr quint32 kMinCount = 1;
    static constexpr quint32 kMaxCount = 30;

    explicit CAddCountDlg(QWidget* parent = nullptr);

    quint32 count = 0;

    bool UpdateData(bool save = true) override;

    QLineEdit* CountEdit() const { return countEdit; }

private:
    void OnStep(int delta);

    QLineEdit* countEdit;
};

} // namespace rp
