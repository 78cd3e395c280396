// The rule every facet of the desktop follows. A call a user would notice
// (input sent, a box shown, a file copied) is a public non-virtual member of
// its facet that writes its trace line and calls a protected virtual `Do...`,
// which the real and the simulated desktop override: the line is written in
// one place, so both desktops trace the same action in the same words. A
// call nobody sees (reading the cursor, the clock, a key's state) is a plain
// public virtual. Either way a new call touches its facet, the two
// implementations and its caller, and nothing in between.
#pragma once

#include <string_view>

namespace ovrix {

// Where the traced calls of the facets write their lines: the Desktop that
// plays on the platform.
class EventTracer {
public:
    // Callers on hot paths skip building a line nobody reads.
    virtual bool Tracing() const = 0;
    virtual void TraceEvent(std::string_view event, std::string_view args = {}) = 0;

protected:
    ~EventTracer() = default;
};

// The base of a facet with traced calls. Until a Desktop binds its tracer the
// calls are carried out without a trace.
class TracedFacet {
public:
    virtual ~TracedFacet() = default;
    void TraceTo(EventTracer* tracer) { tracer_ = tracer; }

protected:
    bool Tracing() const { return tracer_ != nullptr && tracer_->Tracing(); }
    void TraceEvent(std::string_view event, std::string_view args = {}) const {
        if (tracer_ != nullptr) tracer_->TraceEvent(event, args);
    }
    EventTracer* Tracer() const { return tracer_; }

private:
    EventTracer* tracer_ = nullptr;
};

}  // namespace ovrix
