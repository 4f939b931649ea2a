#pragma once

namespace rp {

// The notice both programs' about boxes show. LICENSE at the top of the
// source tree holds the same text (configuring stops when they differ), and the
// Debian package's copyright file is made from it.
inline constexpr char kCopyrightNotice[] = R"(Copyright © 2026 Brackenfold Software.
This software is free: you may copy it and give it away to anyone, as long as you ask nothing for it and pass it on whole and unchanged.)";

} // namespace rp
