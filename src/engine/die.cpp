#include "die.h"

#include "int_text.h"
#include "random_source.h"
#include "xml_dom.h"

namespace rp {

CDie::CDie(int sideCount, int rawResult) : sideCount(sideCount), rawResult(rawResult) {
    if (rawResult < 1 || rawResult > sideCount)
        Roll();
}

int CDie::FaceFor(int sideCount, int r) {
    // 64-bit so that every side count keeps its face within 1..sideCount.
    return static_cast<int>(std::int64_t{sideCount} * r / 32768 + 1);
}

bool CDie::CanShow(int sideCount, int face) {
    if (sideCount >= 1)
        return face >= 1 && face <= sideCount;
    return face <= 1 && face >= FaceFor(sideCount, 32767);
}

int CDie::Roll() {
    rawResult = FaceFor(sideCount, random_source::Draw());
    return GetValue();
}

int CDie::GetValueFor(int face) const {
    return ClampToInt(multiplier.Apply64(face) + modifier);
}

bool CDie::Save(pugi::xml_node element, bool writeRawResult) const {
    if (std::string_view(element.name()) != "die")
        return false;
    element.append_attribute("modifier") = modifier;
    element.append_attribute("multiplier") = GetMultiplierText().c_str();
    element.append_attribute("sideCount") = sideCount;
    if (writeRawResult)
        element.append_attribute("rawResult") = rawResult;
    return true;
}

bool CDie::Load(pugi::xml_node element) {
    if (std::string_view(element.name()) != "die")
        return false;
    sideCount = ReadInt(xml::AttributeText(element, "sideCount"));
    modifier = ReadInt(xml::AttributeText(element, "modifier"));
    multiplier.Parse(xml::AttributeText(element, "multiplier"));
    const int stored = ReadInt(xml::AttributeText(element, "rawResult"));
    if (!CanShow(sideCount, stored))
        Roll();
    else
        rawResult = stored;
    return true;
}

} // namespace rp
