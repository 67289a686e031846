#pragma once

#include <expected>
#include <string>
#include <string_view>

#include "sim/server/MakerServer.h"

namespace sim::soap {

// The operation and parameters of an RPC-style SOAP 1.1 request.
struct Request {
  std::string operation;
  std::string operationNamespace;
  HeaderList parameters;  // in document order
};

// Reads a request envelope with any namespace prefixes; parameters given as
// href references to separate elements of the body are resolved. The error
// text is fit for a fault string.
std::expected<Request, std::string> ParseRequest(std::string_view xml);

// The response envelope of `operation` carrying one value of the XML Schema
// type `xsdType` ("string", "boolean").
std::string ResultEnvelope(const std::string& operation, const std::string& xsdType,
                           const std::string& value, SoapStyle style);

std::string FaultEnvelope(const SoapFault& fault);

}  // namespace sim::soap
