#include "dice_group.h"
#include "sample_trays.h"
#include "tray_xml.h"
#include "xml_dom.h"

#include <gtest/gtest.h>

namespace rp {
namespace {

void AddPosition(pugi::xml_node element, int x, int y) {
    pugi::xml_node position = element.append_child("position");
    position.append_attribute("x") = x;
    position.append_attribute("y") = y;
}

TEST(TrayXml, SmallTrayIsWrittenExactly) {
    xml::CXmlDocument doc;
    pugi::xml_node root = doc.CreateRoot("dicegroups");
    root.append_attribute("bkColor") = 32768;

    CDiceGroup attack;
    attack.SetTitle("Attack");
    attack.SetModifier(5);
    attack.AddDieBack(std::make_unique<CDie>(20, 14));
    pugi::xml_node attackElement = attack.SaveElement(root, true);
    pugi::xml_node d20 = attackElement.child("die");
    AddPosition(d20, 40, 60);
    d20.append_child("color").text() = "Light Gray";

    CDiceGroup damage;
    damage.SetTitle("Damage");
    damage.SetIgnoreCount(1);
    damage.SetMultiplier("1/2");
    damage.AddDieBack(std::make_unique<CDie>(6, 3));
    damage.AddDieBack(std::make_unique<CDie>(6, 5));
    damage.Dice()[1]->SetModifier(1);
    pugi::xml_node damageElement = damage.SaveElement(root, true);
    AddPosition(damageElement.first_child(), 150, 60);
    AddPosition(damageElement.last_child(), 220, 60);

    pugi::xml_node text = root.append_child("text");
    text.append_attribute("value") = "Round 1";
    AddPosition(text, 20, 200);

    const std::string expected = test::kSmallTray;
    EXPECT_EQ(LayOutXmlText(doc.Serialize()), expected);
}

TEST(TrayXml, LayoutIsNotDisturbedBySlashesInValues) {
    const struct {
        const char* raw;
        const char* laidOut;
    } cases[] = {
        {R"(<a t="A/>B"><b m="1/2"/></a>)", "<a t=\"A/>B\">\n\t<b m=\"1/2\"/>\n</a>"},
        {R"(<a t="</x"><b t='/>'/><c>x/y</c></a>)",
         "<a t=\"</x\">\n\t<b t='/>'/>\n\t<c>x/y</c>\n</a>"},
        {"<a><b><c/></b></a>", "<a>\n\t<b>\n\t\t<c/>\n\t</b>\n</a>"},
        {"<a/>", "<a/>"},
        {"", ""},
        {"no tags at all", "no tags at all"},
        {"<open><never-closed>", "<open>\n<never-closed>"},
        // A line feed in text content is content, not a line of the layout.
        {"<a><c>A\nB</c><d/></a>", "<a>\n\t<c>A\nB</c>\n\t<d/>\n</a>"},
        {"<a><c>\n</c></a>", "<a>\n\t<c>\n</c>\n</a>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LayOutXmlText(c.raw), c.laidOut) << c.raw;
}

TEST(TrayXml, WrittenTrayReadsBackTheSame) {
    xml::CXmlDocument doc;
    pugi::xml_node root = doc.CreateRoot("dicegroups");
    CDiceGroup group;
    group.SetTitle("Tricky \"A/>B\" & <more>\ttab\nline\rreturn\x01\x1F");
    group.ParseNotation("3d6+1d8-2");
    group.SetIgnoreCount(1);
    group.SaveElement(root, true);
    root.append_child("note").text() = "A\nB\x02";
    const std::string text = LayOutXmlText(doc.Serialize());
    // Control characters XML forbids are left out, not written as "&#01;".
    EXPECT_EQ(text.find("&#01;"), std::string::npos);
    EXPECT_EQ(text.find('\x02'), std::string::npos);

    xml::CXmlDocument back;
    ASSERT_TRUE(back.ParseText(text));
    CDiceGroup loaded;
    ASSERT_TRUE(loaded.Load(back.Root().first_child()));
    EXPECT_EQ(loaded.GetTitle(), "Tricky \"A/>B\" & <more>\ttab\nline\rreturn");
    EXPECT_EQ(xml::NodeText(back.Root().child("note")), "A\nB");
    EXPECT_EQ(loaded.GetDescription(), group.GetDescription());
    EXPECT_EQ(loaded.GetTotal(), group.GetTotal());
}

TEST(TrayXml, RulesAndRollsReadWriteAndReadBack) {
    const char* head = "<dicegroups>\n\t<dicegroup ignoreCount=\"0\" modifier=\"0\" "
                       "multiplier=\"1\" title=\"\"";
    const char* die = ">\n\t\t<die modifier=\"0\" multiplier=\"1\" sideCount=\"6\" "
                      "rawResult=\"14\" rolls=\"6 6 2\"/>\n\t</dicegroup>\n</dicegroups>";
    const struct {
        const char* attributes;
        const char* description;
    } cases[] = {
        {" ignoreHighest=\"2\"", "1d6, ignore highest 2"},
        {" rerollBelow=\"3\"", "1d6, reroll below 3"},
        {" explode=\"1\"", "1d6, explode"},
        {" countAtLeast=\"5\"", "1d6, count 5+"},
        {" ignoreHighest=\"1\" rerollBelow=\"2\" explode=\"1\" countAtLeast=\"4\"",
         "1d6, ignore highest 1, reroll below 2, explode, count 4+"},
        {"", "1d6"},
    };
    for (const auto& c : cases) {
        const std::string text = std::string(head) + c.attributes + die;
        xml::CXmlDocument read;
        ASSERT_TRUE(read.ParseText(text));
        CDiceGroup group;
        ASSERT_TRUE(group.Load(read.Root().first_child()));
        EXPECT_EQ(group.GetDescription(), c.description);
        EXPECT_EQ(group.GetFirstDie()->GetRolls(), (std::vector<int>{6, 6, 2})) << text;

        xml::CXmlDocument written;
        group.SaveElement(written.CreateRoot("dicegroups"), true);
        EXPECT_EQ(LayOutXmlText(written.Serialize()), text);
    }
}

} // namespace
} // namespace rp
