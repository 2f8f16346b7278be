#include "OrderedJobs.h"

#include <QThread>

namespace tessel {

int workerCount() {
    return std::max(2, QThread::idealThreadCount());
}

}  // namespace tessel
