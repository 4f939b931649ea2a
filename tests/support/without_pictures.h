#pragma once

#include "die_painter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace rp::test {

// Dice drawn by their outlines: the picture folder is an empty one.
class WithoutDiePictures : public ::testing::Test {
protected:
    void SetUp() override { CDiePainter::SetImagesFolder(empty.path()); }
    void TearDown() override { CDiePainter::SetImagesFolder({}); }

private:
    QTemporaryDir empty;
};

} // namespace rp::test
