// The web family: fetching a page, downloading to a file and opening an
// address in the browser. Every row needs the network or the desktop, so
// the rows are registered with no implementation yet: a call shows and
// saves as usual and evaluates to no value.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const FunctionSpec kWeb[] = {
    {u"HttpGet", fkind::kText, nullptr, {{u"URL", fkind::kText}, {u"Timeout", fkind::kNumber, DefNumber(0)}}},
    {u"UrlDownloadToFile", fkind::kNothing, nullptr, {{u"URL", fkind::kText}, {u"File", fkind::kText}}},
    {u"OpenUrl", fkind::kNothing, nullptr, {{u"URL", fkind::kText, DefText(u"https://www.example.com/")}}},
};

}  // namespace

std::span<const FunctionSpec> WebFunctions() { return kWeb; }

}  // namespace ovrix
