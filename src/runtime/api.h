// Visibility of the framework classes that the library exports to other drivers.
#pragma once

#if defined(_WIN32)
#  if defined(SKALNIX_BUILDING_DRIVER)
#    define SKALNIX_FRAMEWORK_API __declspec(dllexport)
#  else
#    define SKALNIX_FRAMEWORK_API
#  endif
#else
#  define SKALNIX_FRAMEWORK_API __attribute__((visibility("default")))
#endif
