#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The SOAP texts of the update service, kept apart from the transport.
namespace service::soap {

using Parameters = std::vector<std::pair<std::string, std::string>>;

// The SOAPAction header value (without quotes) of `operation`.
std::string SoapAction(const std::string& operation);

// The RPC/encoded request of `operation`: one element named after it in the
// service's namespace, one `xsd:string` child per parameter, in order. Values
// are UTF-8; characters XML cannot carry are replaced by U+FFFD.
std::string RequestEnvelope(const std::string& operation, const Parameters& parameters);

// The single return value of a response envelope, whatever its prefixes,
// given inline or as a multi-reference (href/id) element. Throws
// ServiceError: Fault for a SOAP fault, Unreadable for anything else that is
// not a response with a value.
std::string ReadReturnValue(std::string_view xml);

// An xsd:boolean ("true", "false" in any letter case, "1", "0", blanks
// around allowed); throws
// ServiceError Unreadable for any other text.
bool ReadBoolean(const std::string& value);

}  // namespace service::soap
