#include "WindowRegistry.h"

#include <QRandomGenerator>
#include <mutex>
#include <unordered_set>
#include <vector>

namespace platform::registry {

namespace {

struct Registry {
    std::mutex mutex;
    std::vector<Entry> windows;  // in order of registration
    std::unordered_set<HWND> issued;
};

Registry& Instance() {
    static Registry registry;
    return registry;
}

}  // namespace

HWND NewHandle(bool (*notTaken)(HWND)) {
    Registry& r = Instance();
    for (;;) {
        // 31 bits, never 0: a handle survives a trip through a signed 32-bit value.
        const auto candidate =
            static_cast<HWND>(QRandomGenerator::system()->bounded(1, 0x7fffffff));
        {
            std::lock_guard lock(r.mutex);
            if (r.issued.contains(candidate)) {
                continue;
            }
        }
        if (notTaken != nullptr && !notTaken(candidate)) {
            continue;
        }
        std::lock_guard lock(r.mutex);
        if (r.issued.insert(candidate).second) {
            return candidate;
        }
    }
}

void Add(const Entry& entry) {
    Registry& r = Instance();
    std::lock_guard lock(r.mutex);
    r.issued.insert(entry.handle);
    r.windows.push_back(entry);
}

void Remove(HWND handle) {
    Registry& r = Instance();
    std::lock_guard lock(r.mutex);
    std::erase_if(r.windows, [handle](const Entry& e) { return e.handle == handle; });
}

Route Lookup(HWND handle, Entry* entry) {
    Registry& r = Instance();
    std::lock_guard lock(r.mutex);
    for (const Entry& e : r.windows) {
        if (e.handle == handle) {
            if (e.thread == nullptr || e.thread == QThread::currentThread()) {
                *entry = e;
                return Route::Direct;
            }
            return Route::Socket;
        }
    }
    return r.issued.contains(handle) ? Route::Dead : Route::Elsewhere;
}

HWND FindClass(const QByteArray& className) {
    Registry& r = Instance();
    std::lock_guard lock(r.mutex);
    for (auto it = r.windows.rbegin(); it != r.windows.rend(); ++it) {
        if (it->className == className) {
            return it->handle;
        }
    }
    return 0;
}

}  // namespace platform::registry
