#pragma once

namespace rp::test {

// A small tray exactly as the program lays it out: two groups and a text.
inline constexpr const char* kSmallTray =
    "<dicegroups bkColor=\"32768\">\n"
    "\t<dicegroup ignoreCount=\"0\" modifier=\"5\" multiplier=\"1\" title=\"Attack\">\n"
    "\t\t<die modifier=\"0\" multiplier=\"1\" sideCount=\"20\" rawResult=\"14\">\n"
    "\t\t\t<position x=\"40\" y=\"60\"/>\n"
    "\t\t\t<color>Light Gray</color>\n"
    "\t\t</die>\n"
    "\t</dicegroup>\n"
    "\t<dicegroup ignoreCount=\"1\" modifier=\"0\" multiplier=\"1/2\" title=\"Damage\">\n"
    "\t\t<die modifier=\"0\" multiplier=\"1\" sideCount=\"6\" rawResult=\"3\">\n"
    "\t\t\t<position x=\"150\" y=\"60\"/>\n"
    "\t\t</die>\n"
    "\t\t<die modifier=\"1\" multiplier=\"1\" sideCount=\"6\" rawResult=\"5\">\n"
    "\t\t\t<position x=\"220\" y=\"60\"/>\n"
    "\t\t</die>\n"
    "\t</dicegroup>\n"
    "\t<text value=\"Round 1\">\n"
    "\t\t<position x=\"20\" y=\"200\"/>\n"
    "\t</text>\n"
    "</dicegroups>";

} // namespace rp::test
