#pragma once

#include <string>

namespace download {

// The agent name of the link check.
inline constexpr const char* kCheckUrlAgent = "InetURL:/1.0";

// The URL the link check asks for: "http://" put in front when the URL, in
// any letter case, contains neither "http://" nor "https://".
std::string CheckUrlTarget(const std::string& url);

// True when the URL answers with status 200 or 302, fetched anew (no cache)
// with redirects followed, so a followed redirect gives the final status.
// Only the status is read, never the body. `caBundle`: CA file for HTTPS
// certificate checks; empty for the system's.
bool CheckUrl(const std::string& url, const std::string& caBundle = {});

}  // namespace download
