// The orderly end of the workers when the program closes: each is asked to stop and waited for, so that
// nothing it reads or writes is freed under it.
#pragma once

#include <functional>

namespace app {

// Sets the stop flag of every worker (the scan workers, the partition search, reading a chosen file
// system, saving) and waits until every one has ended. pump runs while waiting: a worker may be in the
// middle of a message sent to the user-interface thread, which must answer it for the worker to go on.
void StopWorkersAndWait(const std::function<void()>& pump);

// Whether any worker still runs.
bool AnyWorkerRunning();

}  // namespace app
