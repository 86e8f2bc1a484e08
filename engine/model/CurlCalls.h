#pragma once
// The libcurl functions the transfers use, taken from the library when the first transfer or URL check
// needs them, so that a window that never sends a request never loads the network stack.

#include <curl/curl.h>

#include "core/SharedLibrary.h"

namespace orvel {

struct CurlCalls {
    explicit CurlCalls(const SharedLibrary& library);

    // The function-like macro libcurl defines for its type checks would take over a member called
    // curl_easy_setopt, hence the shorter names.
    decltype(&::curl_global_init) global_init;
    decltype(&::curl_easy_init) easy_init;
    decltype(&::curl_easy_setopt) easy_setopt;
    decltype(&::curl_easy_getinfo) easy_getinfo;
    decltype(&::curl_easy_strerror) easy_strerror;
    decltype(&::curl_easy_cleanup) easy_cleanup;
    decltype(&::curl_multi_init) multi_init;
    decltype(&::curl_multi_add_handle) multi_add_handle;
    decltype(&::curl_multi_remove_handle) multi_remove_handle;
    decltype(&::curl_multi_perform) multi_perform;
    decltype(&::curl_multi_poll) multi_poll;
    decltype(&::curl_multi_wakeup) multi_wakeup;
    decltype(&::curl_multi_info_read) multi_info_read;
    decltype(&::curl_multi_cleanup) multi_cleanup;
    decltype(&::curl_slist_append) slist_append;
    decltype(&::curl_slist_free_all) slist_free_all;
    decltype(&::curl_url) url;
    decltype(&::curl_url_set) url_set;
    decltype(&::curl_url_get) url_get;
    decltype(&::curl_url_cleanup) url_cleanup;
    decltype(&::curl_free) free;
};

// libcurl, loaded and initialised once; throws TransportError when it cannot be had.
const CurlCalls& curl();

} // namespace orvel
