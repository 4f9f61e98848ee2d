#include "platform/on_demand.h"

#include <dlfcn.h>

namespace mem {

void* on_demand_symbol(const char* soname, const char* name, const char** error) {
    // dlopen counts references and hands back the same handle on later calls;
    // the library stays loaded until the program ends.
    void* library = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    void* symbol = library ? dlsym(library, name) : nullptr;
    if (!symbol) *error = dlerror();
    return symbol;
}

}  // namespace mem
