// The status line of a whole-report calculation, one text a step in the
// order the steps must run; the window test and the procedure test read the
// same list so that a reordering is one change.
#pragma once

#include <string>
#include <vector>

namespace vt::test {

inline const std::vector<std::string>& CalcAllStatusTexts() {
    static const std::vector<std::string> texts = {
        " Calculating Worksheet B-1 ",          " Calculating Worksheet B-2 Part I ",
        " Calculating Worksheet B-2 Part II ",  " Calculating Worksheet B-2 Part III ",
        " Calculating Worksheet D Part B ",     " Calculating Worksheet C ",
        " Calculating Worksheet E ",            " Calculating Worksheet E-1 ",
        " Calculating Worksheet F Part II ",    " Calculating Worksheet F Part I ",
        " Calculating Worksheet F-1 Part II ",  " Calculating Worksheet F-1 Part I ",
        " Calculating Worksheet B ",            " Calculating Worksheet G Part I ",
        " Calculating Worksheet G Part II ",    " Calculating Worksheet I ",
        " Calculating Worksheet J ",            " Calculating Worksheet H ",
        " Calculating Worksheet A Part V ",
    };
    return texts;
}

}  // namespace vt::test
