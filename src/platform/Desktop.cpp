#include "platform/Desktop.h"

namespace ovrix {

Desktop::Desktop(Platform& platform, Trace trace)
    : clock(platform.GetClock()),
      input(platform.GetInput()),
      screen(platform.GetScreen()),
      clipboard(platform.GetClipboard()),
      dialogs(platform.GetDialogs()),
      files(platform.GetFiles()),
      images(platform.GetImageFiles()),
      system(platform.GetSystem()),
      windows(platform.GetWindows()),
      progress(platform.GetProgressWindow()),
      scriptWindows(platform.GetScriptWindows()),
      automation(platform.GetAutomation()),
      registry(platform.GetRegistry()),
      web(platform.GetWeb()),
      sound(platform.GetSound()),
      processes(platform.GetProcesses()),
      databases(platform.GetDatabases()),
      codePage(platform.GetCodePage()),
      trace_(std::move(trace)) {
    BindTracer(this);
    BeginTrace();
}

Desktop::~Desktop() {
    if (progress.IsOpen()) progress.Close();
    BindTracer(nullptr);
}

void Desktop::BindTracer(EventTracer* tracer) {
    TracedFacet* const traced[] = {&input,    &screen,        &clipboard,  &dialogs,  &files, &images,
                                   &system,   &windows,       &progress,   &registry, &web,   &sound,
                                   &processes, &scriptWindows, &automation, &databases};
    for (TracedFacet* facet : traced) facet->TraceTo(tracer);
}

void Desktop::TraceEvent(std::string_view event, std::string_view args) {
    if (!trace_.Enabled()) return;
    std::lock_guard lock(traceMutex_);
    trace_.Write(clock.TraceClock(), event, args);
}

}  // namespace ovrix
