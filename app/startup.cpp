#include "app/startup.h"

#include "app/application.h"
#include "plot/fonts.h"
#include "ui/form1.h"
#include "ui/window_references.h"

#include <QFileInfo>

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace {

// The demangled name of the error's dynamic type, e.g. "std::runtime_error".
QString KindOf(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return QString::fromLatin1(status == 0 && name ? name.get() : type.name());
}

// The same for the error being handled when its type is not known here.
QString KindOfCurrent() {
    const std::type_info* type = abi::__cxa_current_exception_type();
    return type != nullptr ? KindOf(*type) : QStringLiteral("unknown");
}

} // namespace

QString StartupErrorText(const QString& kind, const QString& module, const void* address,
                         const QString& text) {
    const QString addressText =
        QStringLiteral("%1").arg(reinterpret_cast<quintptr>(address), 16, 16, QLatin1Char('0'));
    QString line2 = text;
    if (!line2.endsWith(QLatin1Char('.')))
        line2 += QLatin1Char('.');
    return QStringLiteral("Exception %1 in module %2 at %3.\n%4")
        .arg(kind, module, addressText.toUpper(), line2);
}

int RunProgram(TApplication& app, const BeforeBuildHook& beforeBuild) {
    RegisterFontSubstitutions();
    app.setWindowIcon(QIcon(QStringLiteral(":/pictures/program_icon.png")));
    std::unique_ptr<WindowSet> windows;
    const auto fail = [&app](const QString& kind, const void* address, const QString& text) {
        const QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        app.Present(
            {QStringLiteral("Application Error"), StartupErrorText(kind, module, address, text)});
        return 1;
    };
    try {
        windows = std::make_unique<WindowSet>(beforeBuild);
    } catch (const std::exception& error) {
        // C++ keeps no record of where an error was thrown; the box gives
        // the address of the error object instead, which tells one failure
        // from another.
        return fail(KindOf(typeid(error)), &error, ErrorText(error));
    } catch (...) {
        // Anything else thrown (a plain value, a type of some library's own)
        // ends the start-up just the same; only its type can be named.
        return fail(KindOfCurrent(), nullptr, QStringLiteral("Unknown error"));
    }
    Form1->show();
    const int code = app.exec();
    windows.reset();
    return code;
}
