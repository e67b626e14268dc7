// The library's exported functions, as the host calls them. Both are plain C functions: no C++
// exception crosses them.
//
// DLLFmPayForm: twenty pointer-sized context slots (see HostContextBlock), then the connect path.
// Must be called on the thread that runs the user interface; returns when the operator has closed
// the report dialog, or after an error message. Creates a QApplication for the call when none
// exists. DLLInitProc does nothing.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define TARNO_EXPORT __declspec(dllexport)
#else
#define TARNO_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

TARNO_EXPORT void DLLFmPayForm(std::intptr_t s1, std::intptr_t s2, std::intptr_t s3, std::intptr_t s4,
                               std::intptr_t s5, std::intptr_t s6, std::intptr_t s7, std::intptr_t s8,
                               std::intptr_t s9, std::intptr_t s10, std::intptr_t s11, std::intptr_t s12,
                               std::intptr_t s13, std::intptr_t s14, std::intptr_t s15, std::intptr_t s16,
                               std::intptr_t s17, std::intptr_t s18, std::intptr_t s19, std::intptr_t s20,
                               const char* databasePath);

TARNO_EXPORT void DLLInitProc(std::intptr_t a, std::intptr_t b);

// The signature of DLLFmPayForm, for a host that loads the library at run time.
typedef void (*DLLFmPayFormFunction)(std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                     std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                     std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                     std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                                     std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t, const char*);
}
