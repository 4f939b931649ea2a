// A tray text read as a file is opened (then arranged in rows when anything
// lies at negative coordinates, as the document does) and written as a save;
// read as a paste and written as a copy. Each written text is read and
// written once more the same way.
//
// Checked: the second save repeats the first. The second copy repeats the
// first with its entities in reverse order: a paste puts what it reads at
// the front one entity after the other.
//
// Texts that could make more than fuzz::kMaxDice dice are passed over: the caps on
// dice are tested on their own (and by the notation target), and a run is
// meant to spend its time on what reading and writing do with the text, not
// on making thousands of dice per input.
#include "doc_state.h"
#include "fuzz_support.h"
#include "fuzz_tray_app.h"
#include "random_source.h"

#include <algorithm>
#include <vector>

namespace {

using namespace rp;

// The width a tray is arranged in when no view is open.
constexpr int kViewWidth = 1000;

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
    if (second != first)
        fuzz::Fail(use, first, second);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Dice are measured by their pictures and sample their label colours.
    fuzz::StartTrayApplication("tray_xml_fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    if (fuzz::CouldMakeMoreDice(text, fuzz::kMaxDice))
        return -1; // not kept in the corpus
    random_source::Seed(1);
    CheckRoundTrip("a saved tray reads back as another", OpenAndSave, false, text);
    CheckRoundTrip("a copied tray pastes back as another", PasteAndCopy, true, text);
    return 0;
}
