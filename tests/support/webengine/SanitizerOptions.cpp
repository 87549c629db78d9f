// For sanitizer runs of the programs that start the web engine: the
// engine's libraries keep some memory to the end of the process, and only a
// full stack walk shows that those allocations are theirs (so that the leak
// suppressions can name them); the engine's sized deletes are not checked
// (see WebBrowser.cpp).
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options()
{
    return "new_delete_type_mismatch=0:fast_unwind_on_malloc=0";
}
#endif
