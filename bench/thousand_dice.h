#pragma once

#include "doc_state.h"
#include "random_source.h"

namespace rp::bench {

// 200 groups of five dice in a 1920 x 1080 tray: titles, totals, one
// ignored die each, dice drawn from their pictures.
inline void FillThousandDice(CDocState& tray) {
    random_source::Seed(1);
    CDiePainter::SetImagesFolder(ROLLPOUCH_IMAGES_DIR);
    const int sides[] = {4, 6, 8, 10, 12, 20, 100};
    for (int g = 0; g < 200; ++g) {
        auto group = std::make_unique<CDiceGroupPainter>();
        group->SetTitle("Group " + std::to_string(g));
        group->SetIgnoreCount(1);
        const int left = (g % 5) * 380 + 40, top = (g / 5) * 26 + 40;
        for (int d = 0; d < 5; ++d)
            group->AddNewDie(sides[(g + d) % 7], "Light Gray", left + d * 66, top);
        tray.AddBack(std::move(group));
    }
}

} // namespace rp::bench
