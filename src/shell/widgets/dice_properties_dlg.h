#pragma once

#include "data_exchange.h"
#include "doc_state.h"

class QCheckBox;

namespace rp {

class CUpDownCtrl;

// "Dice Properties": the title, multiplier, modifier and rules of the
// selected dice groups. The caller fills the fields, runs the dialog and,
// after OK, reads them back. A rule absent on opening (the groups differ)
// shows empty, or as a partly checked box, and stays absent unless edited.
class CDicePropertiesDlg : public CExchangeDialog {
    Q_OBJECT
public:
    static constexpr int kMaxIgnore = 10000;

    explicit CDicePropertiesDlg(QWidget* parent = nullptr);

    QString title;
    QString multiplierText;
    int modifier = 0;
    SRuleFields rules;

    bool UpdateData(bool save = true) override;

    QLineEdit* TitleEdit() const { return titleEdit; }
    QLineEdit* MultiplierEdit() const { return multiplierEdit; }
    QLineEdit* ModifierEdit() const { return modifierEdit; }
    QLineEdit* IgnoreLowestEdit() const { return ruleEdits[0].edit; }
    QLineEdit* IgnoreHighestEdit() const { return ruleEdits[1].edit; }
    QLineEdit* RerollBelowEdit() const { return ruleEdits[2].edit; }
    QLineEdit* CountAtLeastEdit() const { return ruleEdits[3].edit; }
    QCheckBox* ExplodeCheck() const { return explodeCheck; }

private:
    // A rule's number field with its up-down, limited to 0..max.
    struct SRuleEdit {
        std::optional<int> SRuleFields::*field;
        int max;
        QLineEdit* edit;
        std::optional<int> opened; // left as it opened, the field changes nothing
    };

    static QString RuleText(std::optional<int> value);
    void OnStep(int delta);
    void OnRuleStep(SRuleEdit& rule, int delta);
    bool ReadRule(SRuleEdit& rule);
    void WriteRules();

    QLineEdit* titleEdit;
    QLineEdit* multiplierEdit;
    QLineEdit* modifierEdit;
    SRuleEdit ruleEdits[4];
    QCheckBox* explodeCheck;
};

} // namespace rp
