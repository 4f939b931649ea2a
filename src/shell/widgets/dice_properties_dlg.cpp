#include "dice_properties_dlg.h"

#include "int_text.h"
#include "up_down_ctrl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <limits>

namespace rp {

CDicePropertiesDlg::CDicePropertiesDlg(QWidget* parent)
    : CExchangeDialog(parent), titleEdit(new QLineEdit(this)), multiplierEdit(new QLineEdit(this)),
      modifierEdit(new QLineEdit(this)),
      ruleEdits{
          {&SRuleFields::ignoreLowest, kMaxIgnore, new QLineEdit(this), {}},
          {&SRuleFields::ignoreHighest, kMaxIgnore, new QLineEdit(this), {}},
          {&SRuleFields::rerollBelow, std::numeric_limits<int>::max(), new QLineEdit(this), {}},
          {&SRuleFields::countAtLeast, std::numeric_limits<int>::max(), new QLineEdit(this), {}}},
      explodeCheck(new QCheckBox(QStringLiteral("&Explode on the highest face"), this)) {
    setWindowTitle(QStringLiteral("Dice Properties"));
    auto* modifierSpin = new CUpDownCtrl(this);
    connect(modifierSpin, &CUpDownCtrl::Stepped, this, &CDicePropertiesDlg::OnStep);

    auto* fields = new QGridLayout;
    fields->addWidget(FieldLabel(QStringLiteral("&Title"), titleEdit), 0, 0, 1, 2);
    fields->addWidget(titleEdit, 1, 0, 1, 2);
    fields->setRowMinimumHeight(2, 8);
    fields->addWidget(FieldLabel(QStringLiteral("&Multiplier (x)"), multiplierEdit), 3, 0);
    fields->addWidget(multiplierEdit, 4, 0);
    fields->addWidget(FieldLabel(QStringLiteral("M&odifier (+/-)"), modifierEdit), 3, 1);
    fields->addLayout(WithUpDown(modifierEdit, modifierSpin), 4, 1);
    fields->setRowMinimumHeight(5, 8);

    // The rules, one row each, the check box before the last as it reads.
    const char* const labels[] = {
        "Ignore &lowest:", "Ignore &highest:", "&Reroll dice below:", "&Count dice of at least:"};
    int row = 6;
    QWidget* previous = modifierEdit;
    for (std::size_t i = 0; i < std::size(ruleEdits); ++i) {
        SRuleEdit& rule = ruleEdits[i];
        if (i == 3) {
            fields->addWidget(explodeCheck, row++, 0, 1, 2);
            setTabOrder(previous, explodeCheck);
            previous = explodeCheck;
        }
        auto* spin = new CUpDownCtrl(this);
        connect(spin, &CUpDownCtrl::Stepped, this,
                [this, &rule](int delta) { OnRuleStep(rule, delta); });
        fields->addWidget(FieldLabel(QString::fromLatin1(labels[i]), rule.edit), row, 0);
        fields->addLayout(WithUpDown(rule.edit, spin), row++, 1);
        setTabOrder(previous, rule.edit);
        previous = rule.edit;
    }
    setTabOrder(titleEdit, multiplierEdit);
    setTabOrder(multiplierEdit, modifierEdit);
    SetFields(fields, titleEdit, CountAtLeastEdit());
}

bool CDicePropertiesDlg::UpdateData(bool save) {
    if (!save) {
        titleEdit->setText(title);
        multiplierEdit->setText(multiplierText);
        modifierEdit->setText(QString::number(modifier));
        WriteRules();
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
    if (!ExchangeInt(modifierEdit, modifier))
        return false;
    for (SRuleEdit& rule : ruleEdits)
        if (!ReadRule(rule))
            return false;
    if (explodeCheck->checkState() != Qt::PartiallyChecked)
        rules.explode = explodeCheck->isChecked();
    return true;
}

void CDicePropertiesDlg::WriteRules() {
    for (SRuleEdit& rule : ruleEdits) {
        rule.opened = rules.*rule.field;
        rule.edit->setText(RuleText(rule.opened));
    }
    // Only a mixed selection offers the third state.
    explodeCheck->setTristate(!rules.explode);
    explodeCheck->setCheckState(!rules.explode   ? Qt::PartiallyChecked
                                : *rules.explode ? Qt::Checked
                                                 : Qt::Unchecked);
}

bool CDicePropertiesDlg::ReadRule(SRuleEdit& rule) {
    // Left as it opened, a field keeps its value, even one outside the range.
    if (rule.edit->text() == RuleText(rule.opened)) {
        rules.*rule.field = rule.opened;
        return true;
    }
    quint32 value = 0;
    if (!ExchangeUInt(rule.edit, value, 0, static_cast<quint32>(rule.max)))
        return false;
    rules.*rule.field = static_cast<int>(value);
    return true;
}

QString CDicePropertiesDlg::RuleText(std::optional<int> value) {
    return value ? QString::number(*value) : QString();
}

void CDicePropertiesDlg::OnStep(int delta) {
    ExchangeInt(modifierEdit, modifier);
    // No limit, but the sum stays in range instead of wrapping.
    modifier = ClampToInt(std::int64_t{modifier} + delta);
    modifierEdit->setText(QString::number(modifier));
}

void CDicePropertiesDlg::OnRuleStep(SRuleEdit& rule, int delta) {
    // An empty field (the groups differ) steps from 0; a bad entry is
    // reported and the step goes on from the last good value.
    if (!rule.edit->text().isEmpty())
        ReadRule(rule);
    const std::int64_t from = (rules.*rule.field).value_or(0);
    const int value = static_cast<int>(std::clamp<std::int64_t>(from + delta, 0, rule.max));
    rules.*rule.field = value;
    rule.edit->setText(QString::number(value));
}

} // namespace rp
