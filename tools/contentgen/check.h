// Cross-checks the text content in a data directory once everything is
// drawn: every name a .Character, .Move or .Animation file lists must
// have its file. Returns one message per broken reference.
#pragma once

#include <string>
#include <vector>

namespace contentgen {

std::vector<std::string> checkReferences(const std::string& dataDir);

}  // namespace contentgen
