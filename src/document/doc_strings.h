#pragma once

// The tray's own texts, by their string-table ids; printf formats.
namespace rp::doc_strings {

inline constexpr const char* kAddDie = "Add %i-sided Die";              // 1025
inline constexpr const char* kAddDice = "Add %i %i-sided Dice";         // 1026
inline constexpr const char* kMove = "Move";                            // 1027
inline constexpr const char* kRoll = "Roll";                            // 1028
inline constexpr const char* kDelete = "Delete";                        // 1029
inline constexpr const char* kGroup = "Group";                          // 1030
inline constexpr const char* kUngroup = "Ungroup";                      // 1031
inline constexpr const char* kSetProperties = "Set Properties";         // 1032
inline constexpr const char* kSetIgnoreCount = "Set Ignore Count";      // 1033
inline constexpr const char* kCut = "Cut";                              // 1034
inline constexpr const char* kPaste = "Paste";                          // 1035
inline constexpr const char* kIncrementModifier = "Increment Modifier"; // 1036
inline constexpr const char* kDecrementModifier = "Decrement Modifier"; // 1037
inline constexpr const char* kSetTitle = "Set Title";                   // 1038
inline constexpr const char* kAddText = "Add Text";                     // 1039
inline constexpr const char* kEditText = "Edit Text";                   // 1040
inline constexpr const char* kSetModifier = "Set Modifier";             // 1041
inline constexpr const char* kSetColor = "Set Color (%s)";              // 1042
inline constexpr const char* kSetBackgroundColor = "Set Background Color";

} // namespace rp::doc_strings
