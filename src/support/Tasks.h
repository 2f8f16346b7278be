// Handing work between the main thread and the shared background pool.
#pragma once

#include <functional>

namespace tessel {

using Task = std::function<void()>;

/// Queues the task on the shared background thread pool and returns at once. An exception the
/// task lets out ends in the fatal-error dialog.
void runInBackground(Task task);

/// Queues the task on the main thread's event loop and returns at once. Tasks run in the
/// order they were queued.
void runOnMainAsync(Task task);

/// Runs the task on the main thread and waits for it to finish. On the main thread itself,
/// or when no application object exists (tests that compute synchronously), it runs at once.
void runOnMainBlocking(const Task& task);

/// True on the thread that runs the application's event loop, and when there is none.
bool isMainThread();

}  // namespace tessel
