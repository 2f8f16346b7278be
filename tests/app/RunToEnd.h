// Waiting for a run of the controller in a test.
#pragma once

#include "app/AppDelegate.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

namespace tessel::test {

/// Starts an action of the controller and waits for the run it starts to end; returns the
/// flag of runEnded (false, with a test failure, when no run ended within 20 seconds).
inline bool runToEnd(AppDelegate& delegate, const std::function<void()>& action) {
    QSignalSpy ended(&delegate, &AppDelegate::runEnded);
    action();
    if (ended.isEmpty() && !ended.wait(20000)) {
        ADD_FAILURE() << "the run did not end";
        return false;
    }
    return ended.first().first().toBool();
}

}  // namespace tessel::test
