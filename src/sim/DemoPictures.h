#pragma once

#include <expected>
#include <string>

namespace sim {

class DemoWorld;

// The demo's device pictures, drawn and served under "/solvanta/imagens/",
// and the update service's list of TV models, whose pictures are among them.
std::expected<void, std::string> AddDemoPictures(DemoWorld& world);

// The demo's answer of the TV catalogue update: two released models and
// one unreleased model, seen only in homologation mode.
std::string DemoTvsAnswer(const std::string& serverUrl);

}  // namespace sim
