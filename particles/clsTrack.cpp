#include "particles/clsTrack.h"

#include "engine/errors.h"
#include "engine/numbers.h"

#include <cmath>
#include <limits>
#include <utility>

namespace vastorim {

namespace {

bool inRange(std::int16_t index, std::int16_t count) {
    return index >= 0 && index < count;
}

} // namespace

void clsTrack::bakeKeys(double seed) {
    for (clsKeyframe& key : keys) {
        key.dblValue = key.expression().evaluate(seed);
    }
}

bool clsTrack::getKey(std::int16_t iKey, double& dblTime, std::string& strValue) const {
    if (!inRange(iKey, intKeyCount)) {
        return false;
    }
    dblTime = keys[static_cast<std::size_t>(iKey)].dblTime;
    strValue = keys[static_cast<std::size_t>(iKey)].strValue;
    return true;
}

double clsTrack::getValue(double dblTime) const {
    if (intKeyCount == 0) {
        return 0;
    }
    if (intKeyCount == 1) {
        return keys[0].dblValue;
    }
    const std::size_t last = static_cast<std::size_t>(intKeyCount) - 1;
    // The last segment that holds the age wins; searching downwards finds it first.
    std::size_t segment = last;
    for (std::size_t i = last; i-- > 0;) {
        if (keys[i].dblTime <= dblTime && keys[i + 1].dblTime > dblTime) {
            segment = i;
            break;
        }
    }
    if (segment == last) {
        // No segment holds the age: past the last key the last segment continues, anywhere
        // else (before the first key, a time that is not a number) the first one does.
        segment = dblTime >= keys[last].dblTime ? last - 1 : 0;
    }
    const clsKeyframe& a = keys[segment];
    const clsKeyframe& b = keys[segment + 1];
    auto fraction = static_cast<float>((dblTime - a.dblTime) / (a.dblTime - b.dblTime));
    return (a.dblValue - b.dblValue) * static_cast<double>(fraction) + a.dblValue;
}

std::string clsTrack::getTrackString() const {
    std::string text = numberToText(intKeyCount);
    for (const clsKeyframe& key : keys) {
        text += ':';
        text += key.getKeyString();
    }
    return text;
}

void clsTrack::setKeyVal(std::int16_t intIndex, double dblValue) {
    if (inRange(intIndex, intKeyCount)) {
        keys[static_cast<std::size_t>(intIndex)].dblValue = dblValue;
    }
}

void clsTrack::setKeyStr(std::int16_t intIndex, const std::string& value) {
    if (inRange(intIndex, intKeyCount)) {
        keys[static_cast<std::size_t>(intIndex)].strValue = value;
    }
}

bool clsTrack::loadTrackString(const std::string& strTrack) {
    std::string_view text = strTrack;
    auto colon = text.find(':');
    auto count = textToNumber(text.substr(0, colon));
    if (!count) {
        throw FieldError("", "the key count \"" + std::string(text.substr(0, colon)) +
                                 "\" is not a number");
    }
    double lastIndex = std::nearbyint(*count - 1);
    if (std::isnan(lastIndex) || lastIndex >= std::numeric_limits<std::int16_t>::max()) {
        throw FieldError("", "the key count \"" + std::string(text.substr(0, colon)) +
                                 "\" is not a count a track can hold");
    }
    std::vector<clsKeyframe> loaded;
    for (int i = 0; i <= static_cast<int>(lastIndex); ++i) {
        if (colon == std::string_view::npos) {
            throw FieldError("", "the track announces " + numberToText(*count) +
                                     " keys but has only " + std::to_string(i));
        }
        auto next = text.find(':', colon + 1);
        auto keyText = text.substr(
            colon + 1, next == std::string_view::npos ? std::string_view::npos : next - colon - 1);
        clsKeyframe key;
        try {
            key.loadKeyString(std::string(keyText));
        } catch (const FieldError& error) {
            throw FieldError("", "key " + std::to_string(i + 1) + ": " + error.message());
        }
        loaded.push_back(std::move(key));
        colon = next;
    }
    keys = std::move(loaded);
    intKeyCount = static_cast<std::int16_t>(keys.size());
    return true;
}

void clsTrack::orderKeys() {
    if (intKeyCount <= 1) {
        return;
    }
    // Exactly one pass per key and only strict swaps: keys with equal times keep their order.
    for (int pass = 0; pass < intKeyCount; ++pass) {
        for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
            if (keys[i].dblTime > keys[i + 1].dblTime) {
                std::swap(keys[i], keys[i + 1]);
            }
        }
    }
}

bool clsTrack::initialize(std::string& strInitialValue) {
    if (strInitialValue.empty()) {
        strInitialValue = "0";
    }
    return addKey(strInitialValue, 0);
}

bool clsTrack::addKey(const std::string& strValue, double dblTime) {
    if (intKeyCount == std::numeric_limits<std::int16_t>::max()) {
        return false;
    }
    keys.emplace_back().createKey(strValue, dblTime);
    ++intKeyCount;
    return true;
}

void clsTrack::updateKey(std::int16_t iKey, const clsKeyframe& key) {
    if (inRange(iKey, intKeyCount)) {
        keys[static_cast<std::size_t>(iKey)] = key;
    }
}

std::string clsTrack::getKeyString(std::int16_t iKey) const {
    return inRange(iKey, intKeyCount) ? keys[static_cast<std::size_t>(iKey)].getKeyString() : "";
}

std::int16_t clsTrack::getKeys() const {
    return intKeyCount;
}

void clsTrack::copyKeysFrom(const clsTrack& other) {
    keys = other.keys;
    intKeyCount = other.intKeyCount;
}

} // namespace vastorim
