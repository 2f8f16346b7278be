#include "UncaughtException.h"

#include "FatalError.h"
#include "Tasks.h"
#include "TesselError.h"

#include <cxxabi.h>
#include <execinfo.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace tessel {

namespace {

constexpr int kStackDepth = 48;

QString demangled(const char* name) {
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> readable(
        abi::__cxa_demangle(name, nullptr, nullptr, &status), &std::free);
    return QString::fromUtf8(status == 0 && readable ? readable.get() : name);
}

// "binary(_ZN6tessel3runEv+0x1c) [0x4011]" with the function's name made readable.
QString stackLine(const char* symbol) {
    QString line = QString::fromUtf8(symbol);
    const qsizetype open = line.indexOf(u'(');
    const qsizetype plus = line.indexOf(u'+', open);
    if (open < 0 || plus <= open + 1)
        return line;
    const QByteArray mangled = line.mid(open + 1, plus - open - 1).toUtf8();
    return line.left(open + 1) + demangled(mangled.constData()) + line.mid(plus);
}

bool isHandlerFrame(const QString& line) {
    for (const char* name : {"tessel::describeException", "tessel::reportUncaughtException",
                             "callStack", "onTerminate", "__cxxabiv1::", "std::terminate"}) {
        if (line.contains(QLatin1String(name)))
            return true;
    }
    return false;
}

QStringList callStack() {
    void* frames[kStackDepth];
    const int count = backtrace(frames, kStackDepth);
    std::unique_ptr<char*, decltype(&std::free)> symbols(backtrace_symbols(frames, count),
                                                         &std::free);
    QStringList lines;
    for (int i = 0; symbols && i < count; ++i)
        lines.append(stackLine(symbols.get()[i]));
    // The frames of the handler itself tell nothing about the failure.
    while (!lines.isEmpty() && isHandlerFrame(lines.first()))
        lines.removeFirst();
    return lines;
}

// The name and reason of the exception in flight.
void readException(std::exception_ptr error, UncaughtException& out) {
    try {
        std::rethrow_exception(error);
    } catch (const TesselError& e) {
        out.name = e.name();
        out.reason = e.reason();
    } catch (const std::exception& e) {
        out.name = demangled(typeid(e).name());
        out.reason = QString::fromLocal8Bit(e.what());
    } catch (...) {
        const std::type_info* type = abi::__cxa_current_exception_type();
        out.name = type ? demangled(type->name()) : QStringLiteral("Unknown Exception");
    }
}

[[noreturn]] void onTerminate() {
    reportUncaughtException(std::current_exception(), QStringLiteral("std::terminate"));
}

}  // namespace

QString UncaughtException::detail() const {
    return u' ' + description + u' ' + reason + u' ' + userInfo + QStringLiteral(" (\n") +
           callStack.join(u'\n') + QStringLiteral("\n)");
}

UncaughtException describeException(std::exception_ptr error, const QString& where) {
    UncaughtException out;
    if (error) {
        readException(error, out);
    } else {
        out.name = QStringLiteral("Terminated");
        out.reason = QStringLiteral("The program was ended without an exception.");
    }
    out.description = out.name + QStringLiteral(": ") + out.reason;
    out.userInfo = QStringLiteral("{where: ") + where + QStringLiteral(", thread: ") +
                   (isMainThread() ? QStringLiteral("main") : QStringLiteral("worker")) + u'}';
    out.callStack = callStack();
    return out;
}

void reportUncaughtException(std::exception_ptr error, const QString& where) {
    const UncaughtException described = describeException(error, where);
    reportFatalError(described.name, described.detail());
}

void installUncaughtExceptionHandler() {
    std::set_terminate(onTerminate);
}

}  // namespace tessel
