#include "screen/PictureActions.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Context.h"
#include "engine/ExecuteStep.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "platform/Desktop.h"
#include "platform/PictureMatch.h"
#include "platform/PictureRecord.h"
#include "screen/PictureSteps.h"
#include "screen/WindowSteps.h"
#include "script/StepKinds.h"

namespace ovrix {

namespace {

// The screen is searched about this often; a timeout this short or shorter
// searches once.
constexpr uint32_t kLookEveryMs = 100;
// While waiting long, the cursor is taken off the screen now and then, in
// case it hides the picture or a highlight under it changes the picture.
constexpr uint64_t kMoveAwayEveryMs = 5000;
constexpr uint32_t kMoveAwayForMs = 1000;

struct Sought {
    int number;  // 1 for the main picture, 2 to 5 for the further ones
    VBmp picture;
    int32_t threshold;
};

// One search of the step's pictures, and what the step keeps between
// searches: where to look, what the progress window hides, and how close
// each picture came the last time.
class PictureSearch {
public:
    PictureSearch(const StepRun& run, const SearchPicEvent& step) : desktop_(run.player.desktop) {
        const auto add = [&](int number, const StoredPicture& stored) {
            if (stored.bytes.empty()) return;
            std::optional<VBmp> picture = ReadStoredPicture(stored.bytes, step.bitmapFileImages, desktop_.images);
            if (picture && !picture->Empty()) {
                sought_.push_back({number, std::move(*picture), ThresholdFromPercent(stored.similarity)});
            }
        };
        add(1, step.picture);
        for (size_t k = 0; k < step.morePictures.size() && k < SearchPicEvent::kMaxMorePictures; ++k) {
            add(static_cast<int>(k) + 2, step.morePictures[k]);
        }
        excluded_ = desktop_.progress.ShownFrame();
        if (step.where == u"cur") {
            start_ = desktop_.input.GetCursorPos();
        } else if (step.where == u"rg") {
            region_ = ScreenRect{step.regionLeft, step.regionTop, step.regionRight, step.regionBottom};
        }
    }

    // Captures the screen and looks for each picture in turn; the first one
    // found wins. Answers its place in logical screen pixels.
    std::optional<ScreenRect> Search() {
        hidden_ = false;
        misses_.assign(sought_.size(), {});
        if (sought_.empty() || !desktop_.screen.CaptureScreen(capture_)) return std::nullopt;
        const ScreenSize physical{capture_.picture.width, capture_.picture.height};
        for (size_t i = 0; i < sought_.size(); ++i) {
            const Sought& one = sought_[i];
            const PictureMatch match =
                MatchPicture(capture_.picture, one.picture, one.threshold, excluded_, region_, start_);
            if (match.found) {
                const ScreenRect rect = ScaleToLogical(match.rect, physical, capture_.logical);
                Trace("found " + std::to_string(one.number) + " " + Numbers(rect));
                return rect;
            }
            hidden_ = hidden_ || match.hidden.has_value();
            misses_[i] = match;
        }
        return std::nullopt;
    }

    // Moves the progress window aside, once per step, when the last search
    // found a picture only under it.
    void StepAsideIfItHides() {
        if (!hidden_ || movedAside_ || !excluded_) return;
        movedAside_ = true;
        if (std::optional<ScreenRect> frame = desktop_.progress.StepAside()) excluded_ = frame;
    }

    // Says, for each picture, how close the last search came.
    void TraceMisses() {
        for (size_t i = 0; i < misses_.size(); ++i) {
            const PictureMatch& miss = misses_[i];
            std::string line = "missed " + std::to_string(sought_[i].number) + " best ";
            if (miss.best) {
                line += std::to_string(miss.best->x) + " " + std::to_string(miss.best->y) + " " +
                        std::to_string(miss.bestSimilarity);
            } else {
                line += "none";
            }
            Trace(line);
        }
    }

private:
    static std::string Numbers(const ScreenRect& r) {
        return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
               std::to_string(r.bottom);
    }
    void Trace(const std::string& args) {
        if (desktop_.Tracing()) desktop_.TraceEvent("picture", args);
    }

    Desktop& desktop_;
    std::vector<Sought> sought_;
    std::optional<ScreenRect> excluded_;
    std::optional<ScreenRect> region_;
    std::optional<Point> start_;
    bool hidden_ = false;
    bool movedAside_ = false;
    std::vector<PictureMatch> misses_;
    // Kept from search to search so that each capture can reuse the last
    // one's buffer: a whole screen is megabytes, taken ten times a second.
    ScreenCapture capture_;
};

// Sets the cursor on the picture and clicks it, the buttons as the system
// has them.
void MoveAndClick(const StepRun& run, const ScreenRect& rect, Point centre) {
    Player& player = run.player;
    player.desktop.input.SetCursorPos(rect.left, rect.top);
    run.Wait(10);
    player.desktop.input.SetCursorPos(centre.x, centre.y);
    run.Wait(50);
    player.desktop.input.MouseEvent(player.mouse.leftDown, 0, 0, 0);
    player.desktop.input.MouseEvent(player.mouse.leftUp, 0, 0, 0);
}

void ActOnFound(const StepRun& run, const SearchPicEvent& step, const ScreenRect& rect) {
    const Point centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    Input& input = run.player.desktop.input;
    switch (SearchPicEvent::FoundActionOf(step.foundAction)) {
        case SearchPicEvent::FoundAction::MoveClick:
            MoveAndClick(run, rect, centre);
            break;
        case SearchPicEvent::FoundAction::Move:
            input.SetCursorPos(centre.x, centre.y);
            break;
        case SearchPicEvent::FoundAction::ClickNoMove: {
            const Point cursor = input.GetCursorPos();
            MoveAndClick(run, rect, centre);
            input.SetCursorPos(cursor.x, cursor.y);
            break;
        }
        case SearchPicEvent::FoundAction::None:
            break;
    }
}

// Searches until a picture is found; nullopt when the timeout passed (a
// single search for a timeout of kLookEveryMs or less) or playback was
// stopped, which `stopped` tells.
std::optional<ScreenRect> WaitForPicture(const StepRun& run, const SearchPicEvent& step, PictureSearch& search,
                                         bool& stopped) {
    Desktop& desktop = run.player.desktop;
    const uint64_t timeout = TimeoutMilliseconds(step.timeout, step.timeoutUnit);
    // Time is counted in differences of the tick count, which may pass its
    // 32-bit end during a wait.
    const uint32_t start = desktop.clock.TickCount();
    const auto elapsed = [&] { return static_cast<uint64_t>(static_cast<uint32_t>(desktop.clock.TickCount() - start)); };
    uint64_t lastMoveAway = 0;
    bool first = true;
    std::optional<ScreenRect> found = search.Search();
    while (!found) {
        if (timeout <= kLookEveryMs) return std::nullopt;
        search.StepAsideIfItHides();
        const uint64_t now = elapsed();
        if (now - lastMoveAway >= kMoveAwayEveryMs && timeout > now + kMoveAwayForMs) {
            if (step.moveMouseAway) {
                const Point cursor = desktop.input.GetCursorPos();
                desktop.input.SetCursorPos(0, 0);
                run.Wait(kMoveAwayForMs);
                if (IsSet(StopRequest)) return stopped = true, std::nullopt;
                found = search.Search();
                desktop.input.SetCursorPos(cursor.x, cursor.y);
                if (found) break;
                search.StepAsideIfItHides();
            }
            lastMoveAway = elapsed();
        }
        if (first) {
            desktop.progress.SetLine(ProgressLine::Status, u"Waiting for the picture appear");
            first = false;
        }
        if (IsSet(StopRequest)) return stopped = true, std::nullopt;
        if (now >= timeout) return std::nullopt;
        run.Wait(static_cast<uint32_t>(std::min<uint64_t>(timeout - now, kLookEveryMs)));
        if (IsSet(StopRequest)) return stopped = true, std::nullopt;
        found = search.Search();
    }
    return found;
}

void PlaySearchPicture(const StepRun& run) {
    const auto& step = static_cast<const SearchPicEvent&>(run.step);
    run.player.runtime.lastPictureRect = {-1, -1, -1, -1};
    PictureSearch search(run, step);
    bool stopped = false;
    const std::optional<ScreenRect> found = WaitForPicture(run, step, search, stopped);
    if (stopped) return;
    if (found) {
        run.player.runtime.lastPictureRect = *found;
        if (step.ifForm) run.SetConditionHeld(true);
        ActOnFound(run, step, *found);
        run.Finish();  // the "If" form goes on into its then-steps
        return;
    }

    search.TraceMisses();
    run.player.desktop.progress.SetLine(ProgressLine::Status, u"Search the picture timeout");
    if (step.ifForm) {
        run.SetConditionHeld(false);
        run.Wait(step.delay);
        if (IsSet(StopRequest)) return;
        run.SkipBlock();
        return;
    }
    if (step.timeoutAction == u"continue") {
        run.Wait(step.delay);
    } else if (step.timeoutAction == u"stop no tip") {
        run.Wait(step.delay);
        SetFlag(StopRequest);
    } else {
        SetFlag(StopRequest);
    }
}

}  // namespace

void AddPictureSteps(StepKinds& kinds) { kinds.Add(Kind<SearchPicEvent>(Plays<PlaySearchPicture>)); }

}  // namespace ovrix
