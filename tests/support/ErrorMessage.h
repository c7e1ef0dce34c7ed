#pragma once

#include "model/ErrorReport.h"

#include <string>

// The message of the error fn raises, or "" when it raises none.
template <typename Fn> std::string ErrorMessage(Fn fn) {
    try {
        fn();
    } catch (const VroError& e) {
        return e.what();
    }
    return "";
}
