/* A program built against an installed driver: prints which driver file it loaded and the
 * library type that driver answers. C, so the public header is checked as C as well. */
#if !defined(_WIN32)
#  define _GNU_SOURCE
#  include <link.h>
#  include <string.h>
#else
#  include <windows.h>
#endif
#include <stdio.h>

#include <targodll.h>

#if defined(_WIN32)
static void driver_path(char* path, int size) {
    HMODULE h = GetModuleHandleA("skalnix.dll");
    if (h) GetModuleFileNameA(h, path, (DWORD)size);
}
#else
struct search {
    char* path;
    int size;
};

static int match_driver(struct dl_phdr_info* info, size_t unused, void* data) {
    struct search* s = (struct search*)data;
    const char* slash = strrchr(info->dlpi_name, '/');
    (void)unused;
    if (slash && strncmp(slash + 1, "libskalnix.so", 13) == 0) {
        snprintf(s->path, (size_t)s->size, "%s", info->dlpi_name);
        return 1;
    }
    return 0;
}

static void driver_path(char* path, int size) {
    struct search s = {path, size};
    dl_iterate_phdr(match_driver, &s);
}
#endif

int main(void) {
    char path[4096] = "";
    const int type = TargoDLLTypBiblioteki();
    driver_path(path, (int)sizeof path);
#if defined(SKALNIX_PACKAGE_VERSION)
    printf("package %s\n", SKALNIX_PACKAGE_VERSION);
#endif
    printf("driver %s\n", path);
    printf("library type %d\n", type);
    return type == TARGODLL_LIBRARY_TYPE && path[0] ? 0 : 1;
}
