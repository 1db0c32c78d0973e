#include "particles/track.h"

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

void Track::bakeKeys(double seed) {
    for (Keyframe& key : keys) {
        key.value = key.compiled().evaluate(seed);
    }
}

bool Track::getKey(std::int16_t index, double& time, std::string& expression) const {
    if (!inRange(index, keyCount)) {
        return false;
    }
    time = keys[static_cast<std::size_t>(index)].time;
    expression = keys[static_cast<std::size_t>(index)].expression;
    return true;
}

double Track::getValue(double age) const {
    if (keyCount == 0) {
        return 0;
    }
    if (keyCount == 1) {
        return keys[0].value;
    }
    const std::size_t last = static_cast<std::size_t>(keyCount) - 1;
    // The last segment that holds the age wins; searching downwards finds it first.
    std::size_t segment = last;
    for (std::size_t i = last; i-- > 0;) {
        if (keys[i].time <= age && keys[i + 1].time > age) {
            segment = i;
            break;
        }
    }
    if (segment == last) {
        // No segment holds the age: past the last key the last segment continues, anywhere
        // else (before the first key, a time that is not a number) the first one does.
        segment = age >= keys[last].time ? last - 1 : 0;
    }
    const Keyframe& a = keys[segment];
    const Keyframe& b = keys[segment + 1];
    if (a.time == b.time) {
        // Two keys at one time are a step: the later key's value holds, and nothing divides
        // by the segment's zero length.
        return b.value;
    }
    auto fraction = static_cast<float>((age - a.time) / (a.time - b.time));
    return (a.value - b.value) * static_cast<double>(fraction) + a.value;
}

std::string Track::getTrackString() const {
    std::string text = numberToText(keyCount);
    for (const Keyframe& key : keys) {
        text += ':';
        text += key.getKeyString();
    }
    return text;
}

void Track::setKeyVal(std::int16_t index, double value) {
    if (inRange(index, keyCount)) {
        keys[static_cast<std::size_t>(index)].value = value;
    }
}

void Track::setKeyStr(std::int16_t index, const std::string& expression) {
    if (inRange(index, keyCount)) {
        keys[static_cast<std::size_t>(index)].expression = expression;
    }
}

bool Track::loadTrackString(const std::string& trackString) {
    std::string_view text = trackString;
    auto colon = text.find(':');
    auto count = textToNumber(text.substr(0, colon));
    if (!count) {
        throw FieldError("", "the key count \"" + std::string(text.substr(0, colon)) +
                                 "\" is not a number");
    }
    // The count converts to an Integer, and the keys it gives must fit one too.
    std::int16_t lastIndex = 0;
    try {
        lastIndex = toInteger(*count - 1);
    } catch (const RangeError&) {
        lastIndex = std::numeric_limits<std::int16_t>::max();
    }
    if (lastIndex == std::numeric_limits<std::int16_t>::max()) {
        throw FieldError("", "the key count \"" + std::string(text.substr(0, colon)) +
                                 "\" is not a count a track can hold");
    }
    std::vector<Keyframe> loaded;
    for (int i = 0; i <= lastIndex; ++i) {
        if (colon == std::string_view::npos) {
            throw FieldError("", "the track announces " + numberToText(*count) +
                                     " keys but has only " + std::to_string(i));
        }
        auto next = text.find(':', colon + 1);
        auto keyText = text.substr(
            colon + 1, next == std::string_view::npos ? std::string_view::npos : next - colon - 1);
        Keyframe key;
        try {
            key.loadKeyString(std::string(keyText));
        } catch (const FieldError& error) {
            throw FieldError("", "key " + std::to_string(i + 1) + ": " + error.message());
        }
        loaded.push_back(std::move(key));
        colon = next;
    }
    keys = std::move(loaded);
    keyCount = static_cast<std::int16_t>(keys.size());
    return true;
}

void Track::orderKeys() {
    if (keyCount <= 1) {
        return;
    }
    // Exactly one pass per key and only strict swaps: keys with equal times keep their order.
    for (int pass = 0; pass < keyCount; ++pass) {
        for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
            if (keys[i].time > keys[i + 1].time) {
                std::swap(keys[i], keys[i + 1]);
            }
        }
    }
}

bool Track::initialize(std::string& initialValue) {
    if (initialValue.empty()) {
        initialValue = "0";
    }
    return addKey(initialValue, 0);
}

bool Track::addKey(const std::string& expression, double time) {
    if (keyCount == std::numeric_limits<std::int16_t>::max()) {
        return false;
    }
    keys.emplace_back().createKey(expression, time);
    ++keyCount;
    return true;
}

void Track::updateKey(std::int16_t index, const Keyframe& key) {
    if (inRange(index, keyCount)) {
        keys[static_cast<std::size_t>(index)] = key;
    }
}

std::string Track::getKeyString(std::int16_t index) const {
    return inRange(index, keyCount) ? keys[static_cast<std::size_t>(index)].getKeyString() : "";
}

std::int16_t Track::getKeys() const {
    return keyCount;
}

void Track::copyKeysFrom(const Track& other) {
    keys = other.keys;
    keyCount = other.keyCount;
}

} // namespace vastorim
