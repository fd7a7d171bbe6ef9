// What `leveltool check` says about a level file: the findings of
// level_findings.h (src/level/source), which the game says too, as the
// report check prints.
#pragma once

#include <string>

#include "level_findings.h"

using level_report = level_findings;

// The report as text, facts first, one finding a line.
std::string report_text(const level_report& report);
