#include "sim/server/SoapEnvelope.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <vector>

namespace sim::soap {
namespace {

constexpr char16_t kEnvelopeNs[] = u"http://schemas.xmlsoap.org/soap/envelope/";
constexpr char16_t kEncodingNs[] = u"http://schemas.xmlsoap.org/soap/encoding/";

constexpr std::string_view kEnvelopeOpen =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\"><SOAP-ENV:Body>";
constexpr std::string_view kEnvelopeClose = "</SOAP-ENV:Body></SOAP-ENV:Envelope>";
constexpr std::string_view kEncodingStyle =
    "SOAP-ENV:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"";

struct Child {
  QString name;
  QString href;
  QString text;
};

struct Element {
  QString name;
  QString ns;
  QString id;
  bool root = true;
  QString text;
  std::vector<Child> children;
};

// Reads the element the reader stands on up to its end: its text and its
// children, each child holding text only.
bool ReadElement(QXmlStreamReader& r, Element& e) {
  e.name = r.name().toString();
  e.ns = r.namespaceUri().toString();
  const auto attributes = r.attributes();
  e.id = attributes.value(QStringLiteral("id")).toString();
  e.root = attributes.value(QString::fromUtf16(kEncodingNs), QStringLiteral("root")) != u"0";
  while (!r.atEnd()) {
    switch (r.readNext()) {
      case QXmlStreamReader::Characters:
        e.text += r.text();
        break;
      case QXmlStreamReader::StartElement: {
        Child c;
        c.name = r.name().toString();
        c.href = r.attributes().value(QStringLiteral("href")).toString();
        c.text = r.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (r.hasError()) {
          return false;
        }
        e.children.push_back(std::move(c));
        break;
      }
      case QXmlStreamReader::EndElement:
        return true;
      default:
        break;
    }
  }
  return false;
}

std::string Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\r':  // a literal CR would be normalised away by the reader
        out += "&#13;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::unexpected<std::string> Malformed(const QXmlStreamReader& r) {
  return std::unexpected("XML malformado: " + r.errorString().toStdString());
}

}  // namespace

std::expected<Request, std::string> ParseRequest(std::string_view xml) {
  QXmlStreamReader r(QByteArray(xml.data(), static_cast<qsizetype>(xml.size())));
  if (!r.readNextStartElement()) {
    return Malformed(r);
  }
  if (r.namespaceUri() != QStringView(kEnvelopeNs) || r.name() != u"Envelope") {
    return std::unexpected(std::string("O pedido não é um envelope SOAP 1.1"));
  }
  bool inBody = false;
  while (!inBody && r.readNextStartElement()) {
    if (r.namespaceUri() == QStringView(kEnvelopeNs) && r.name() == u"Body") {
      inBody = true;
    } else {
      r.skipCurrentElement();
    }
  }
  if (r.hasError()) {
    return Malformed(r);
  }
  if (!inBody) {
    return std::unexpected(std::string("O envelope não tem corpo"));
  }
  std::vector<Element> elements;
  while (r.readNextStartElement()) {
    Element e;
    if (!ReadElement(r, e)) {
      return Malformed(r);
    }
    elements.push_back(std::move(e));
  }
  if (r.hasError()) {
    return Malformed(r);
  }
  const Element* call = nullptr;
  for (const auto& e : elements) {
    if (e.root && e.id.isEmpty()) {
      call = &e;
      break;
    }
  }
  if (call == nullptr) {
    return std::unexpected(std::string("O corpo não contém nenhuma operação"));
  }
  Request request{call->name.toStdString(), call->ns.toStdString(), {}};
  for (const auto& c : call->children) {
    QString value = c.text;
    if (!c.href.isEmpty()) {
      const Element* target = nullptr;
      for (const auto& e : elements) {
        if (!e.id.isEmpty() && c.href == u'#' + e.id) {
          target = &e;
          break;
        }
      }
      if (target == nullptr) {
        return std::unexpected("Referência não encontrada: " + c.href.toStdString());
      }
      value = target->text;
    }
    request.parameters.emplace_back(c.name.toStdString(), value.toStdString());
  }
  return request;
}

std::string ResultEnvelope(const std::string& operation, const std::string& xsdType,
                           const std::string& value, SoapStyle style) {
  std::string out(kEnvelopeOpen);
  out += "<NS1:" + operation + "Response xmlns:NS1=\"" + kSoapNamespace + "\" ";
  out += kEncodingStyle;
  out += ">";
  const std::string typeAttribute = "xsi:type=\"xsd:" + xsdType + "\"";
  if (style == SoapStyle::Inline) {
    out += "<return " + typeAttribute + ">" + Escape(value) + "</return>";
    out += "</NS1:" + operation + "Response>";
  } else {
    out += "<return href=\"#1\"/></NS1:" + operation + "Response>";
    out += "<multiRef id=\"1\" SOAP-ENC:root=\"0\" ";
    out += kEncodingStyle;
    out += " " + typeAttribute + ">" + Escape(value) + "</multiRef>";
  }
  out += kEnvelopeClose;
  return out;
}

std::string FaultEnvelope(const SoapFault& fault) {
  std::string out(kEnvelopeOpen);
  out += "<SOAP-ENV:Fault><faultcode>" + Escape(fault.code) + "</faultcode><faultstring>" +
         Escape(fault.message) + "</faultstring></SOAP-ENV:Fault>";
  out += kEnvelopeClose;
  return out;
}

}  // namespace sim::soap
