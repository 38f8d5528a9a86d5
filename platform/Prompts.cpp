#include "platform/Prompts.h"

#include "platform/QtPrompts.h"

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
