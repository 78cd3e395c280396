// The web family: fetching a page, downloading to a file and opening an
// address in the browser. An address without "://" is taken as "http://"
// and the address. The playback waits for a transfer in slices, so stop
// ends the wait at once (the transfer is abandoned) and the script's
// windows stay alive meanwhile.
#include <cstdio>

#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "container/Text.h"
#include "platform/Desktop.h"

namespace ovrix {

namespace {

// HttpGet's Timeout is in milliseconds; 0 (the default) or below waits this long.
constexpr uint32_t kDefaultTimeoutMs = 30000;
constexpr uint32_t kGetSliceMs = 50;
constexpr uint32_t kDownloadShowMs = 100;
constexpr int32_t kShowNormal = 5;  // as the system steps open addresses

std::u16string WithScheme(std::u16string url) {
    return url.find(u"://") == std::u16string::npos ? u"http://" + url : url;
}

PExprItem* HttpGet(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    const std::u16string url = fnargs::Text(args, count, 0);
    if (host == nullptr || url.empty()) return fnargs::None(result);
    const double timeout = fnargs::Number(args, count, 1);
    const uint32_t timeoutMs = !(timeout >= 1) ? kDefaultTimeoutMs
                               : timeout >= 4294967295.0 ? 0xFFFFFFFFu
                                                         : static_cast<uint32_t>(timeout);
    Desktop& desktop = host->GetDesktop();
    const std::unique_ptr<WebTransfer> transfer = desktop.web.Get(WithScheme(url), timeoutMs);
    const uint32_t start = desktop.clock.TickCount();
    while (!transfer->Finished()) {
        if (host->StopRequested() || desktop.clock.TickCount() - start >= timeoutMs) return fnargs::None(result);
        host->Wait(kGetSliceMs);
    }
    if (!transfer->Succeeded()) return fnargs::None(result);
    return fnargs::ReturnText(result, FromUtf8(transfer->TakeBody()));
}

PExprItem* UrlDownloadToFile(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    const std::u16string url = fnargs::Text(args, count, 0);
    const std::u16string file = fnargs::Text(args, count, 1);
    if (host == nullptr || url.empty() || file.empty()) return fnargs::None(result);
    const std::unique_ptr<WebTransfer> transfer = host->GetDesktop().web.Download(WithScheme(url), file);
    while (!transfer->Finished() && !host->StopRequested()) {
        char line[32];
        std::snprintf(line, sizeof line, "Downloaded %d%%", static_cast<int>(transfer->Percent()));
        host->SetStatusLine(Widen(line));
        host->Wait(kDownloadShowMs);
    }
    return fnargs::None(result);
}

// The address is handed to the system as it is, to open in the browser.
PExprItem* OpenUrl(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    const std::u16string url = fnargs::Text(args, count, 0);
    if (host != nullptr && !url.empty()) host->GetDesktop().system.ShellExecute(u"open", url, u"", kShowNormal);
    return fnargs::None(result);
}

const FunctionSpec kWeb[] = {
    {u"HttpGet", fkind::kText, HttpGet, {{u"URL", fkind::kText}, {u"Timeout", fkind::kNumber, DefNumber(0)}}},
    {u"UrlDownloadToFile", fkind::kNothing, UrlDownloadToFile, {{u"URL", fkind::kText}, {u"File", fkind::kText}}},
    {u"OpenUrl", fkind::kNothing, OpenUrl, {{u"URL", fkind::kText, DefText(u"https://www.example.com/")}}},
};

}  // namespace

std::span<const FunctionSpec> WebFunctions() { return kWeb; }

}  // namespace ovrix
