#include "particles/keyframe.h"

#include "engine/errors.h"
#include "engine/numbers.h"

namespace vastorim {

bool Keyframe::createKey(const std::string& valueExpression, double keyTime) {
    expression = valueExpression;
    time = keyTime;
    return true;
}

std::string Keyframe::getKeyString() const {
    return numberToText(time) + "|" + expression;
}

bool Keyframe::loadKeyString(const std::string& text) {
    auto bar = text.find('|');
    if (bar == std::string::npos) {
        throw FieldError("", "the key \"" + text + "\" needs \"|\" between its time and value");
    }
    auto keyTime = textToNumber(std::string_view(text).substr(0, bar));
    if (!keyTime) {
        throw FieldError("", "the key \"" + text + "\" has a time that is not a number");
    }
    auto secondBar = text.find('|', bar + 1);
    std::string valueExpression = text.substr(
        bar + 1, secondBar == std::string::npos ? std::string::npos : secondBar - bar - 1);
    // A malformed value is reported now, not when a particle is baked.
    compileExpression(valueExpression);
    time = *keyTime;
    expression = std::move(valueExpression);
    return true;
}

} // namespace vastorim
