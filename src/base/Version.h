#pragma once

namespace orvel {

constexpr const char* kAppTitle = "Orvel Jigsaw Zentia Tour";
constexpr const char* kVersionText = "Version 1.45";
constexpr const char* kVersionDate = "December 30, 2024";

}  // namespace orvel
