// The edit checks: after every whole-report calculation the worksheets are
// reviewed for entries that are incomplete or contradict each other, and each
// problem becomes one warning in table Error, which the findings window shows.
// The checks never change worksheet data.
#pragma once

#include <string>

namespace vt {

// The result of the last run: 0 nothing found, 1 at least one warning.
extern int Edit_Check_Level;

// Table Error made afresh (Level Text 16, Message Memo; not registered).
void Create_Error_Table();
void Clear_Error_Table();
// One row of Error; the message is stored as it stands.
void Add_Edit_Check_Row(const std::string& level, const std::string& message);
// A "Warning" row; sets Edit_Check_Level.
void Add_Warning(const std::string& message);

// Runs every check in order on the open report, writing the findings into
// table Error (created when missing, emptied first), or the single row
// "No errors found"; then brings up the findings window. Returns
// Edit_Check_Level. A worksheet that is missing or cannot be read is passed
// over, so the run never stops part way.
int Run_Edit_Checks();

// Writes the rows of table Error into "CalcErrors.prt" in the report's folder
// and sends it to the printer in portrait.
void PrintEditChecks();

// The place, counted from 1, after which a message line is cut so that it
// is at most `width` characters: the last blank at or before `width`, or
// `width` itself when there is none (or the text fits).
int FindWrapPoint(const std::string& text, int width);

}  // namespace vt
