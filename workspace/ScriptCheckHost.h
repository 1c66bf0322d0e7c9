// The host of a check run: it makes no pages and shows nothing, but keeps what a real run would have shown.
#pragma once

#include "engine/EngineHost.h"

#include <string>
#include <vector>

class ScriptCheckHost : public tavlix::NullHost {
public:
    void showNoticeText(const std::string& text) override { notices.push_back(text); }
    void reportFault(const std::string& text) override { fault = text; }

    // Windows-1252 texts, in the order the run produced them.
    std::vector<std::string> notices;
    std::string fault;
};
