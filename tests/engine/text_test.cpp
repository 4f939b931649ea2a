#include "mini_list.h"
#include "text_codec.h"
#include "xml_dom.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utility>

namespace rp {
namespace {

TEST(TextCodec, Utf8IsKeptAndAnythingElseIsWindows1252) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB2"));
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));         // cut short

    EXPECT_EQ(DecodeFileText("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBFx"), "x");
    EXPECT_EQ(DecodeFileText("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(DecodeFileText("\x80\x9F\xFF"), "\xE2\x82\xAC\xC5\xB8\xC3\xBF");
    EXPECT_EQ(DecodeFileText("\x81 1"), "\xC2\x81 1");
}

TEST(XmlDom, SerializedTextIsUtf8AndReadsBackAsWritten) {
    EXPECT_EQ(ToValidUtf8("a\xF4\x90\x80\x80\xC3\xA9\xE2\x82"),
              "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xC3\xA9\xEF\xBF\xBD\xEF\xBF\xBD");
    // Character references past Unicode and to carriage returns, in text
    // content and in an attribute.
    xml::CXmlDocument document;
    ASSERT_TRUE(
        document.ParseText("<a t=\"&#x110000;&#13;\">&#xD800;\xC3\xA9 x&#13;&#10;y&#13;z</a>"));
    const std::string written = document.Serialize();
    EXPECT_TRUE(IsValidUtf8(written));
    xml::CXmlDocument again;
    ASSERT_TRUE(again.ParseText(written));
    EXPECT_EQ(again.Serialize(), written);
    EXPECT_STREQ(again.Root().child_value(),
                 "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xC3\xA9 x\ny\nz");
}

TEST(TextCodec, AWindowsTrayReadsWithItsAccents) {
    const auto groups = ReadMiniGroupsFromText("<dicegroup title=\"D\xE9g\xE2ts\">2d6</dicegroup>");
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_TRUE(groups[0]);
    EXPECT_EQ(groups[0]->GetTitle(), "D\xC3\xA9g\xC3\xA2ts");
}

TEST(XmlDom, NavigatesTextAndPaths) {
    xml::CXmlDocument doc;
    ASSERT_TRUE(doc.ParseText(
        R"(<die sideCount="6"><position x="40" y="-3"/><color>Light <b>Gr</b>ay</color></die>)"));
    const pugi::xml_node die = doc.Root();
    const std::pair<const char*, const char*> paths[] = {
        {"position/@x", "40"}, {"position/@y", "-3"}, {"color", "Light Gray"}, {"position/@z", ""},
        {"size/@x", ""},       {"@sideCount", "6"},   {"@sideCount/x", ""},
    };
    for (const auto& [path, text] : paths)
        EXPECT_EQ(xml::SelectText(die, path), text) << path;
    EXPECT_EQ(xml::AttributeText(die, "missing"), "");
    EXPECT_EQ(xml::NodeText(die), "Light Gray");
    EXPECT_EQ(xml::NodeText(pugi::xml_node()), "");

    EXPECT_FALSE(doc.ParseText("<a><b></a>"));
    EXPECT_FALSE(doc.Root());
    EXPECT_FALSE(doc.ParseText("text <a/>"));
    EXPECT_FALSE(doc.ParseText(""));
}

TEST(XmlDom, ParseFileReportsWhyNothingWasRead) {
    const auto dir = std::filesystem::temp_directory_path() / "rollpouch-xml-dom-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "tray.rlp").string();
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        std::fputs("<dicegroups><dicegroup>1d6</dicegroup></dicegroups>", f);
        std::fclose(f);
    }
    xml::CXmlDocument doc;
    EXPECT_EQ(doc.ParseFile(path), ReadStatus::Ok);
    EXPECT_STREQ(doc.Root().name(), "dicegroups");
    EXPECT_EQ(doc.ParseFile((dir / "missing.rlp").string()), ReadStatus::CannotRead);
    EXPECT_FALSE(doc.Root());
    EXPECT_EQ(doc.ParseFile(dir.string()), ReadStatus::NotRegularFile);
    // A pipe is refused at once, never waited on; a link to a tray opens.
    const std::string pipe = (dir / "pipe.rlp").string(), link = (dir / "link.rlp").string();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(doc.ParseFile(pipe), ReadStatus::NotRegularFile);
    std::filesystem::create_symlink(path, link);
    EXPECT_EQ(doc.ParseFile(link), ReadStatus::Ok);

    std::string bytes;
    EXPECT_EQ(ReadFileBytes(path, bytes, 10), ReadStatus::TooLarge);
    EXPECT_TRUE(bytes.empty());
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace rp
