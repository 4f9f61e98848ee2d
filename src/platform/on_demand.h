#pragma once
// Libraries that only some runs need (the package reader, speech) are opened
// at their first use instead of at start, so a plain game does not map and
// relocate them: about a megabyte of memory and a little start-up time.
//
// The calls of such a library are defined in a file of their own under the
// library's own names, each forwarding to the real function found here; the
// code that uses the library stays plain library code.
namespace mem {

// The named function of the library `soname` (e.g. "libarchive.so.13"), or
// null with the reason in `error` (dlerror's text, valid until the next call).
void* on_demand_symbol(const char* soname, const char* name, const char** error);

}  // namespace mem
