#include "platform/ui/UiObserver.h"

#include <atomic>

namespace {
// Atomic because the browser may be asked for from a worker.
std::atomic<CUiObserver*> g_pObserver{nullptr};
}

void SetUiObserver(CUiObserver* pObserver)
{
    g_pObserver.store(pObserver);
}

CUiObserver* GetUiObserver()
{
    return g_pObserver.load();
}
