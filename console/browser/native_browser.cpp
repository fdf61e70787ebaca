// A session in the page the program was loaded in.
#include "console/browser/page_platform.hpp"
#include "console/cell_screen.hpp"
#include "console/native.hpp"

#include <exception>

namespace console {

NativeOutcome run_on_native_console(const NativeNeeds& needs, const NativeSession& session) {
    try {
        CellScreen model;
        browser::PagePlatform platform(model, needs);
        const int status = session(model, platform);
        platform.flush(); // the last frame
        return NativeOutcome{status, NativeProblem::none, {}};
    } catch (const SessionEnded& ended) {
        return NativeOutcome{ended.status, NativeProblem::none, {}};
    } catch (const std::exception& e) {
        return NativeOutcome{1, NativeProblem::failed, e.what()};
    } catch (...) {
        return NativeOutcome{1, NativeProblem::failed, "stopped by an unknown error"};
    }
}

} // namespace console
