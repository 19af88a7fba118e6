#pragma once
// The message of the program's exception an action raises, or
// "no exception".

#include "platform/Exception.h"

#include <functional>
#include <string>

inline std::string MessageOf(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const Exception& E) {
        return E.Message();
    }
    return "no exception";
}
