#pragma once

// Rollpouch's own texts, by their string-table ids where they have one; printf formats.
namespace rp::shell_strings {

inline constexpr const char* kProgramTitle = "Clattermat";
inline constexpr const char* kReady = "Ready";
inline constexpr const char* kUndoMenu = "&Undo %s\tCtrl+Z"; // 2049
inline constexpr const char* kRedoMenu = "&Redo %s\tCtrl+Y"; // 2050
inline constexpr const char* kUndoTip = "Undo %s";
inline constexpr const char* kRedoTip = "Redo %s";
inline constexpr const char* kColors = "Colors"; // 2053
inline constexpr const char* kAddCount = "Add %i";
inline constexpr const char* kSaveChanges = "Save changes to %1?";
// New trays are named from this, numbered: Rollpouch1, Rollpouch2, ...
inline constexpr const char* kNewTrayName = "Rollpouch";
inline constexpr const char* kTrayFilter = "Rollpouches (*.rlp)";
inline constexpr const char* kXmlFilter = "XML Files (*.xml)";

} // namespace rp::shell_strings
