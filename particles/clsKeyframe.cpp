#include "particles/clsKeyframe.h"

#include "engine/errors.h"
#include "engine/numbers.h"

namespace vastorim {

bool clsKeyframe::createKey(const std::string& strValue_, double dblTime_) {
    strValue = strValue_;
    dblTime = dblTime_;
    return true;
}

std::string clsKeyframe::getKeyString() const {
    return numberToText(dblTime) + "|" + strValue;
}

bool clsKeyframe::loadKeyString(const std::string& strKey) {
    auto bar = strKey.find('|');
    if (bar == std::string::npos) {
        throw FieldError("", "the key \"" + strKey + "\" needs \"|\" between its time and value");
    }
    auto time = textToNumber(std::string_view(strKey).substr(0, bar));
    if (!time) {
        throw FieldError("", "the key \"" + strKey + "\" has a time that is not a number");
    }
    auto secondBar = strKey.find('|', bar + 1);
    std::string value = strKey.substr(
        bar + 1, secondBar == std::string::npos ? std::string::npos : secondBar - bar - 1);
    compileExpression(value); // a malformed value is reported now, not when a particle is baked
    dblTime = *time;
    strValue = std::move(value);
    return true;
}

} // namespace vastorim
