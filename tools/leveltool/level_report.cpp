#include "level_report.h"

std::string report_text(const level_report& report) {
  std::string text;
  for (const std::string& line : report.facts) text += line + "\n";
  for (const std::string& line : report.notes) text += "note: " + line + "\n";
  for (const std::string& line : report.problems) text += "problem: " + line + "\n";
  if (report.problems.empty()) text += "no problems\n";
  return text;
}
