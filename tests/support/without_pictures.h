#pragma once

#include "die_picture_folder.h"

#include <gtest/gtest.h>
#include <optional>

namespace rp::test {

// Dice drawn by their outlines: the picture folder is an empty one.
class WithoutDiePictures : public ::testing::Test {
protected:
    void SetUp() override { empty.emplace(); }
    void TearDown() override { empty.reset(); }

private:
    std::optional<CDiePictureFolder> empty;
};

} // namespace rp::test
