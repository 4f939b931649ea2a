// A whole text read as the quick-roll list reads it: every group labelled,
// rolled, and the labels put in list order.
//
// Checked: the list order is a strict weak order over the labels (sorting
// with it stays sorted and no label precedes itself). Texts that could make
// more than fuzz::kMaxDice dice are passed over.
#include "fuzz_support.h"
#include "mini_list.h"
#include "random_source.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rp;
    const std::string_view text = fuzz::AsText(data, size);
    if (fuzz::CouldMakeMoreDice(text, fuzz::kMaxDice))
        return -1; // not kept in the corpus
    random_source::Seed(1);
    std::vector<std::string> labels;
    for (const auto& group : ReadMiniGroupsFromText(text)) {
        if (!group)
            continue;
        labels.push_back(GetGroupLabel(*group));
        group->Roll();
    }
    std::sort(labels.begin(), labels.end(),
              [](const std::string& a, const std::string& b) { return MiniLabelLess(a, b); });
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (MiniLabelLess(labels[i], labels[i]))
            fuzz::Fail("a label precedes itself", labels[i]);
        if (i > 0 && MiniLabelLess(labels[i], labels[i - 1]))
            fuzz::Fail("labels out of order after sorting", labels[i - 1], labels[i]);
    }
    return 0;
}
