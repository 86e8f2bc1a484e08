#include "engine/model/CurlCalls.h"

#include <exception>

#include "engine/model/HttpTransfer.h"

namespace orvel {

CurlCalls::CurlCalls(const SharedLibrary& library)
    : global_init(library.function<decltype(global_init)>("curl_global_init")),
      easy_init(library.function<decltype(easy_init)>("curl_easy_init")),
      easy_setopt(library.function<decltype(easy_setopt)>("curl_easy_setopt")),
      easy_getinfo(library.function<decltype(easy_getinfo)>("curl_easy_getinfo")),
      easy_strerror(library.function<decltype(easy_strerror)>("curl_easy_strerror")),
      easy_cleanup(library.function<decltype(easy_cleanup)>("curl_easy_cleanup")),
      multi_init(library.function<decltype(multi_init)>("curl_multi_init")),
      multi_add_handle(library.function<decltype(multi_add_handle)>("curl_multi_add_handle")),
      multi_remove_handle(library.function<decltype(multi_remove_handle)>("curl_multi_remove_handle")),
      multi_perform(library.function<decltype(multi_perform)>("curl_multi_perform")),
      multi_poll(library.function<decltype(multi_poll)>("curl_multi_poll")),
      multi_wakeup(library.function<decltype(multi_wakeup)>("curl_multi_wakeup")),
      multi_info_read(library.function<decltype(multi_info_read)>("curl_multi_info_read")),
      multi_cleanup(library.function<decltype(multi_cleanup)>("curl_multi_cleanup")),
      slist_append(library.function<decltype(slist_append)>("curl_slist_append")),
      slist_free_all(library.function<decltype(slist_free_all)>("curl_slist_free_all")),
      url(library.function<decltype(url)>("curl_url")),
      url_set(library.function<decltype(url_set)>("curl_url_set")),
      url_get(library.function<decltype(url_get)>("curl_url_get")),
      url_cleanup(library.function<decltype(url_cleanup)>("curl_url_cleanup")),
      free(library.function<decltype(free)>("curl_free")) {}

namespace {

CurlCalls loaded() {
    try {
        return CurlCalls(SharedLibrary("libcurl.so.4"));
    } catch (const std::exception& error) {
        throw TransportError(error.what(), false);
    }
}

CurlCalls initialised() {
    CurlCalls calls = loaded();
    if (const CURLcode code = calls.global_init(CURL_GLOBAL_DEFAULT); code != CURLE_OK)
        throw TransportError(
            std::string("The network library could not be initialised: ") + calls.easy_strerror(code), false);
    return calls;
}

} // namespace

const CurlCalls& curl() {
    // A failed load is tried again at the next request: a static whose initialiser throws stays unset.
    static const CurlCalls calls = initialised();
    return calls;
}

} // namespace orvel
