#include "add_count_dlg.h"
#include "dice_properties_dlg.h"
#include "gui_test_main.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <limits>

namespace rp {
namespace {

void Click(QDialog& dlg, const char* arrow) {
    QTest::mouseClick(dlg.findChild<QToolButton*>(QLatin1String(arrow)), Qt::LeftButton);
}

TEST(DataExchangeTest, ReadsIntegersAsTyped) {
    const std::pair<QString, std::optional<int>> ints[] = {
        {" 12 ", 12}, {"-5", -5},         {"+7", 7},
        {"abc", {}},  {"5x", {}},         {"", {}},
        {"1.5", {}},  {"2147483648", {}}, {"-2147483648", std::numeric_limits<int>::min()},
    };
    for (const auto& [text, value] : ints)
        EXPECT_EQ(ParseIntText(text), value) << text.toStdString();
    const std::pair<QString, std::optional<quint32>> counts[] = {
        {"30", 30u}, {" +3 ", 3u}, {"0", 0u}, {"99999999999", 4294967295u},
        {"-1", {}},  {"1e2", {}},  {"", {}},
    };
    for (const auto& [text, value] : counts)
        EXPECT_EQ(ParseUIntText(text), value) << text.toStdString();
}

TEST(DicePropertiesDlgTest, StepsTheModifierAndKeepsTypedTexts) {
    CDicePropertiesDlg dlg;
    dlg.title = "Sword";
    dlg.multiplierText = "1/2";
    dlg.modifier = 5;
    ASSERT_TRUE(test::ShowActive(dlg));
    EXPECT_EQ(dlg.windowTitle(), "Dice Properties");
    EXPECT_EQ(dlg.TitleEdit()->selectedText(), "Sword");
    // Tab order: title, multiplier, modifier, the rules as they read, OK,
    // Cancel; the arrows are skipped.
    const QList<QPushButton*> buttons = dlg.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 2);
    const QList<QWidget*> order{dlg.TitleEdit(),
                                dlg.MultiplierEdit(),
                                dlg.ModifierEdit(),
                                dlg.IgnoreLowestEdit(),
                                dlg.IgnoreHighestEdit(),
                                dlg.RerollBelowEdit(),
                                dlg.ExplodeCheck(),
                                dlg.CountAtLeastEdit(),
                                buttons[0],
                                buttons[1]};
    for (QWidget* next : order) {
        EXPECT_EQ(QApplication::focusWidget(), next);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(buttons[0]->text(), "OK");

    Click(dlg, "up");
    Click(dlg, "up");
    EXPECT_EQ(dlg.ModifierEdit()->text(), "7");
    QTest::keyClick(dlg.ModifierEdit(), Qt::Key_Down);
    EXPECT_EQ(dlg.ModifierEdit()->text(), "6");

    // A step over a bad entry reports it, then goes on from the last good
    // value; the title typed meanwhile stays.
    dlg.TitleEdit()->setText("Axe");
    dlg.ModifierEdit()->setText("abc");
    EXPECT_EQ(test::AnsweringMessages([&] { Click(dlg, "down"); }),
              QStringList({"Please enter an integer."}));
    EXPECT_EQ(dlg.ModifierEdit()->text(), "5");
    EXPECT_EQ(dlg.TitleEdit()->text(), "Axe");

    dlg.ModifierEdit()->setText(QString::number(std::numeric_limits<int>::max()));
    Click(dlg, "up");
    EXPECT_EQ(dlg.ModifierEdit()->text(), QString::number(std::numeric_limits<int>::max()));

    dlg.ModifierEdit()->setText("x3");
    EXPECT_EQ(test::AnsweringMessages([&] { dlg.accept(); }),
              QStringList({"Please enter an integer."}));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.focusWidget(), dlg.ModifierEdit());
    EXPECT_EQ(dlg.ModifierEdit()->selectedText(), "x3");

    dlg.ModifierEdit()->setText("-4");
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.modifier, -4);
    EXPECT_EQ(dlg.title, "Axe");
    EXPECT_EQ(dlg.multiplierText, "1/2");
}

TEST(DicePropertiesDlgTest, AChangedMultiplierMustBeAFraction) {
    const std::pair<const char*, bool> typed[] = {
        {"", false}, {"x2", false},      {"1/", false}, {"3/0", false}, {"1/2/3", false},
        {"0", true}, {" -3 / 2 ", true}, {"+2", true},  {"1/-4", true},
    };
    for (const auto& [text, accepted] : typed) {
        CDicePropertiesDlg dlg;
        dlg.multiplierText = "1";
        ASSERT_TRUE(test::ShowActive(dlg));
        dlg.MultiplierEdit()->setText(text);
        const QStringList messages = test::AnsweringMessages([&] { dlg.accept(); });
        EXPECT_EQ(dlg.result() == QDialog::Accepted, accepted) << text;
        EXPECT_EQ(messages.isEmpty(), accepted) << text;
        if (!accepted) {
            EXPECT_EQ(messages.value(0), "Please enter a fraction such as 1, 1/2 or 3/2.");
            EXPECT_EQ(dlg.focusWidget(), dlg.MultiplierEdit());
        }
    }
    // Left as it opened (empty for groups that differ): not checked.
    CDicePropertiesDlg mixed;
    ASSERT_TRUE(test::ShowActive(mixed));
    EXPECT_TRUE(test::AnsweringMessages([&] { mixed.accept(); }).isEmpty());
    EXPECT_EQ(mixed.result(), QDialog::Accepted);
}

TEST(DicePropertiesDlgTest, RulesChangeOnlyWhenEditedAndWithinRange) {
    // Mixed ignore-highest and explode; a stored ignore count above the range.
    const SRuleFields opened{20000, std::nullopt, 0, std::nullopt, 8};
    CDicePropertiesDlg dlg;
    dlg.rules = opened;
    ASSERT_TRUE(test::ShowActive(dlg));
    const QStringList texts{dlg.IgnoreLowestEdit()->text(), dlg.IgnoreHighestEdit()->text(),
                            dlg.RerollBelowEdit()->text(), dlg.CountAtLeastEdit()->text()};
    EXPECT_EQ(texts, QStringList({"20000", "", "0", "8"}));
    EXPECT_EQ(dlg.ExplodeCheck()->checkState(), Qt::PartiallyChecked);
    ASSERT_TRUE(dlg.UpdateData());
    EXPECT_EQ(dlg.rules, opened);

    const std::tuple<QLineEdit*, const char*, const char*> rejected[] = {
        {dlg.IgnoreHighestEdit(), "10001", "Please enter an integer between 0 and 10000."},
        {dlg.IgnoreLowestEdit(), "-1", "Please enter a positive integer."},
        {dlg.RerollBelowEdit(), "x", "Please enter a positive integer."},
    };
    for (const auto& [field, text, message] : rejected) {
        const QString before = field->text();
        field->setText(text);
        EXPECT_EQ(test::AnsweringMessages([&] { dlg.accept(); }), QStringList({message})) << text;
        EXPECT_EQ(dlg.focusWidget(), field);
        field->setText(before);
    }

    // Arrows: an empty field steps from 0, a stored value comes into range;
    // a field stepped and typed back as it opened changes nothing.
    QTest::keyClick(dlg.IgnoreHighestEdit(), Qt::Key_Up);
    QTest::keyClick(dlg.IgnoreLowestEdit(), Qt::Key_Up);
    EXPECT_EQ(dlg.IgnoreHighestEdit()->text(), "1");
    EXPECT_EQ(dlg.IgnoreLowestEdit()->text(), "10000");
    dlg.IgnoreLowestEdit()->setText("20000");
    dlg.RerollBelowEdit()->setText(" 3 ");
    dlg.ExplodeCheck()->setCheckState(Qt::Checked);
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.rules, (SRuleFields{20000, 1, 3, true, 8}));
}

TEST(AddCountDlgTest, ArrowsStopAtTheLimitsAndOkChecksTheRange) {
    CAddCountDlg dlg;
    dlg.count = 30;
    ASSERT_TRUE(test::ShowActive(dlg));
    EXPECT_EQ(dlg.windowTitle(), "Add Dice");
    Click(dlg, "up");
    EXPECT_EQ(dlg.CountEdit()->text(), "30");
    Click(dlg, "down");
    EXPECT_EQ(dlg.CountEdit()->text(), "29");
    dlg.CountEdit()->setText("1");
    QTest::keyClick(dlg.CountEdit(), Qt::Key_Down);
    EXPECT_EQ(dlg.CountEdit()->text(), "1");

    const std::pair<const char*, const char*> rejected[] = {
        {"0", "Please enter an integer between 1 and 30."},
        {"31", "Please enter an integer between 1 and 30."},
        {"-3", "Please enter a positive integer."},
        {"two", "Please enter a positive integer."},
    };
    for (const auto& [text, message] : rejected) {
        dlg.CountEdit()->setText(text);
        EXPECT_EQ(test::AnsweringMessages([&] { dlg.accept(); }), QStringList({message})) << text;
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(dlg.CountEdit()->selectedText(), text);
        EXPECT_EQ(dlg.count, 1u);
    }
    dlg.CountEdit()->setText("12");
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.count, 12u);
}

TEST(DialogLabelsTest, AltAndTheLabelsOwnLetterReachEveryField) {
    CDicePropertiesDlg properties;
    CAddCountDlg addCount;
    const std::pair<QDialog*, qsizetype> dialogs[] = {{&properties, 8}, {&addCount, 1}};
    for (const auto& [dlg, fieldCount] : dialogs) {
        ASSERT_TRUE(test::ShowActive(*dlg));
        QList<QKeySequence> keys;
        for (QWidget* field : dlg->findChildren<QWidget*>()) {
            // A check box carries its own label; any other field is a label's buddy.
            auto* check = qobject_cast<QCheckBox*>(field);
            if (!check && !qobject_cast<QLineEdit*>(field) && !qobject_cast<QComboBox*>(field) &&
                !qobject_cast<QAbstractSpinBox*>(field))
                continue;
            QString text = check ? check->text() : QString();
            for (QLabel* label : dlg->findChildren<QLabel*>())
                text = label->buddy() == field ? label->text() : text;
            const QKeySequence key = QKeySequence::mnemonic(text);
            const std::string name = dlg->windowTitle().toStdString() + ": " + text.toStdString();
            EXPECT_FALSE(key.isEmpty() || keys.contains(key)) << name;
            keys.append(key);
            QTest::keySequence(QApplication::focusWidget(), key);
            EXPECT_EQ(QApplication::focusWidget(), field) << name;
        }
        EXPECT_EQ(keys.size(), fieldCount) << dlg->windowTitle().toStdString();
    }
}

} // namespace
} // namespace rp
