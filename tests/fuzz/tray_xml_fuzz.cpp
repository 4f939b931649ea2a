// A tray text read as a file is opened (then arranged in rows when anything
// lies at negative coordinates, as the document does) and written as a save;
// read as a paste and written as a copy. Each written text is read and
// written once more the same way.
//
// Checked: the second save repeats the first. The second copy repeats the
// first with its entities in reverse order: a paste puts what it reads at the
// front one entity after the other.
//
// Known faults passed over with ROLLPOUCH_FUZZ_SKIP_KNOWN=1. Inputs not tried:
// - a position beyond +/-2^24: rectangle arithmetic overflows beyond +/-2^28,
//   and arranging rows stacks groups up to 2^29 tall past 2^31 (a few dozen
//   groups within +/-2^24 stay in range);
// - notation that could make more than CDiceGroup::kMaxParsedDice dice (a
//   group reading many notation children, or a tray of many lines, is not
//   yet held to the caps), so that slow inputs do not stall a run;
// - a multiplier of 2^16 or more (a group total past the 64-bit range
//   overflows when the group modifier is added).
// Second writes not compared, when the first write has:
// - a line feed or carriage return in text content (a colour name): the
//   layout breaks lines there, and a carriage return is written as it is
//   and read back as a line feed;
// - a colour name of nothing but spaces and tabs: written as it is, it reads
//   back as no colour;
// - a group without dice (notation of negative counts only, "-2d6"): it is
//   written as an empty element, which reads as nothing;
// - a die of side count 0 (notation "3d"): the die reader refuses it;
// - a die of negative side count (notation "4-6": four dice of -6 sides):
//   its faces are below 1, so the die reader rolls it again;
// - bytes that are not UTF-8 (a title holding "&#x110000;" keeps what the
//   parser makes of it): the whole text then reads as Windows-1252.
#include "die_painter.h"
#include "die_picture.h"
#include "doc_state.h"
#include "fuzz_support.h"
#include "int_text.h"
#include "random_source.h"
#include "text_codec.h"

#include <QDirIterator>
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

using namespace rp;

// The width a tray is arranged in when no view is open.
constexpr int kViewWidth = 1000;
constexpr int kPositionLimit = 1 << 24;

std::string ToStd(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string OpenAndSave(std::string_view text) {
    CDocState state;
    state.ReadTrayXml(text, false, true);
    const CRect extent = state.GetExtent();
    if (extent.left < 0 || extent.top < 0)
        state.ArrangeInRows(kViewWidth);
    return ToStd(state.WriteTrayXml(true, false, true));
}

std::string PasteAndCopy(std::string_view text) {
    CDocState state;
    state.PasteText(text, std::nullopt);
    return ToStd(state.WriteTrayXml(false, true, false));
}

bool HasFarPosition(std::string_view bytes) {
    return fuzz::AnyNode(bytes, [](pugi::xml_node node) {
        if (std::string_view(node.name()) != "position")
            return false;
        for (const char* axis : {"x", "y"})
            if (std::abs(std::int64_t{ReadInt(xml::AttributeText(node, axis))}) > kPositionLimit)
                return true;
        return false;
    });
}

// A written text that shows a fault a second read cannot mend (see above).
// Parsed here keeping text of only white space, which the program's reader
// drops.
bool ShowsKnownMismatch(const std::string& written) {
    pugi::xml_document document;
    document.load_buffer(written.data(), written.size(),
                         pugi::parse_default | pugi::parse_ws_pcdata_single);
    return !IsValidUtf8(written) || fuzz::AnyNode(document.root(), [](pugi::xml_node node) {
        const std::string_view name = node.name();
        return (node.type() == pugi::node_pcdata && fuzz::IsKnownUnfaithfulText(node.value())) ||
               (name == "dicegroup" && !node.first_child()) ||
               (name == "die" && ReadInt(xml::AttributeText(node, "sideCount")) <= 0);
    });
}

// The laid-out text with its entities in reverse order: each starts on a
// line that opens an element one level deep; the last line closes the root.
std::string ReverseEntities(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t at = text.find("\n\t<"); at != std::string::npos;
         at = text.find("\n\t<", at + 1))
        if (at + 3 < text.size() && text[at + 3] != '/')
            starts.push_back(at + 1);
    if (starts.empty())
        return text;
    const std::size_t footer = text.rfind('\n') + 1;
    std::string reversed = text.substr(0, starts.front());
    for (std::size_t i = starts.size(); i-- > 0;)
        reversed.append(text, starts[i],
                        (i + 1 < starts.size() ? starts[i + 1] : footer) - starts[i]);
    return reversed + text.substr(footer);
}

void CheckRoundTrip(const char* use, std::string (*readAndWrite)(std::string_view),
                    bool reversesEntities, std::string_view input) {
    const std::string first = readAndWrite(input);
    std::string second = readAndWrite(first);
    if (reversesEntities)
        second = ReverseEntities(second);
    if (second != first && !(fuzz::SkipKnownFaults() && ShowsKnownMismatch(first)))
        fuzz::Fail(use, first, second);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tray_xml_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    // With the pictures, dice are measured by their pictures and sample their
    // label colours. All are kept loaded, so no input pays for decoding them.
    CDiePainter::SetImagesFolder(QStringLiteral(ROLLPOUCH_IMAGES_DIR));
    static std::vector<DiePicturePtr> pictures;
    QDirIterator files(QStringLiteral(ROLLPOUCH_IMAGES_DIR), {"*.gif", "*.jpg"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        if (DiePicturePtr picture = LoadDiePicture(files.next()))
            pictures.push_back(std::move(picture));
    if (pictures.empty())
        fuzz::Fail("no die pictures in " ROLLPOUCH_IMAGES_DIR);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    if (fuzz::SkipKnownFaults() && (fuzz::TrayDiceBound(text) > CDiceGroup::kMaxParsedDice ||
                                    HasFarPosition(text) || fuzz::HasHugeMultiplier(text)))
        return 0;
    random_source::Seed(1);
    CheckRoundTrip("a saved tray reads back as another", OpenAndSave, false, text);
    CheckRoundTrip("a copied tray pastes back as another", PasteAndCopy, true, text);
    return 0;
}
