#include "platform/gui/Prompts.h"

#include <exception>

#include "platform/gui/QtPrompts.h"

namespace {

Prompts* installed = nullptr;

Prompts& defaultPrompts()
{
    static QtPrompts qtPrompts;
    return qtPrompts;
}

}  // namespace

Prompts& prompts()
{
    return installed ? *installed : defaultPrompts();
}

Prompts* installPrompts(Prompts* p)
{
    Prompts* previous = installed;
    installed = p;
    return previous;
}

void ReportCurrentException()
{
    try {
        throw;
    } catch (const std::exception& e) {
        prompts().error(QString::fromUtf8(e.what()));
    } catch (...) {
        prompts().error(QStringLiteral("Unknown error"));
    }
}
