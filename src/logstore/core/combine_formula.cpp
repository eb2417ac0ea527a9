#include "logstore/core/combine_formula.h"

#include <string_view>

namespace pln {

namespace {

void replaceAll(std::string& text, std::string_view what, const std::string& by) {
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + by.size()))
        text.replace(at, what.size(), by);
}

} // namespace

std::string combineFormula(tLogOperation operation, const std::string& first,
                           const std::string& second) {
    std::string formula;
    switch (operation) {
    case tLogOperation::sum:
        formula = "%1 + %2";
        break;
    case tLogOperation::difference:
        formula = "%1 - %2";
        break;
    case tLogOperation::reverseDifference:
        formula = "%2 - %1";
        break;
    case tLogOperation::quotient:
        formula = "%1 / %2";
        break;
    case tLogOperation::reverseQuotient:
        formula = "%2 / %1";
        break;
    case tLogOperation::firstShare:
        formula = "%1 / (%1 + %2)";
        break;
    default:
        formula = "%2 / (%1 + %2)";
        break;
    }
    // The second name goes in first so that a "%1" inside the first name is
    // left as it is.
    replaceAll(formula, "%2", "\x01");
    replaceAll(formula, "%1", first);
    replaceAll(formula, "\x01", second);
    return formula;
}

} // namespace pln
