#include "service/SoapMessages.h"

#include <QString>
#include <QXmlStreamReader>
#include <memory>
#include <optional>

#include "service/Idmserver.h"

namespace service::soap {
namespace {

constexpr char16_t kEnvelopeNs[] = u"http://schemas.xmlsoap.org/soap/envelope/";
constexpr char16_t kEncodingNs[] = u"http://schemas.xmlsoap.org/soap/encoding/";
constexpr char16_t kInstanceNs[] = u"http://www.w3.org/2001/XMLSchema-instance";

// Deeper answers are refused rather than read: a SOAP response of a string
// is three or four levels deep.
constexpr int kMaxDepth = 32;

// XML 1.0 text: markup characters escaped, CR kept as a reference (a reader
// would fold a literal one into the line end), characters XML cannot carry
// at all replaced.
QString Escaped(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text) {
    switch (c.unicode()) {
      case u'&':
        out += QLatin1String("&amp;");
        break;
      case u'<':
        out += QLatin1String("&lt;");
        break;
      case u'>':
        out += QLatin1String("&gt;");
        break;
      case u'"':
        out += QLatin1String("&quot;");
        break;
      case u'\r':
        out += QLatin1String("&#13;");
        break;
      case u'\t':
      case u'\n':
        out += c;
        break;
      default:
        if (c.unicode() < 0x20 || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF) {
          out += QChar(QChar::ReplacementCharacter);
        } else {
          out += c;  // surrogate pairs pass whole; lone ones became U+FFFD on decoding
        }
    }
  }
  return out;
}

struct Node {
  QString ns, name, id, href, text;
  bool root = true;  // SOAP-ENC:root is not "0"
  bool nil = false;  // xsi:nil is true
  std::vector<std::unique_ptr<Node>> children;
};

[[noreturn]] void Unreadable(const std::string& why) {
  throw ServiceError(ServiceError::Kind::Unreadable, "Resposta ilegível do serviço: " + why);
}

// Reads the element the reader stands on, with everything inside it.
std::unique_ptr<Node> ReadNode(QXmlStreamReader& r, int depth) {
  if (depth > kMaxDepth)
    Unreadable("elementos aninhados demais");
  auto node = std::make_unique<Node>();
  node->ns = r.namespaceUri().toString();
  node->name = r.name().toString();
  const QXmlStreamAttributes attributes = r.attributes();
  for (const QXmlStreamAttribute& a : attributes) {
    // id and href are unqualified in section-5 encoding.
    if (a.namespaceUri().isEmpty() && a.name() == u"id")
      node->id = a.value().toString();
    if (a.namespaceUri().isEmpty() && a.name() == u"href")
      node->href = a.value().toString();
    if (a.namespaceUri() == QStringView(kEncodingNs) && a.name() == u"root") {
      node->root = a.value().trimmed() != u"0";
    }
    if (a.namespaceUri() == QStringView(kInstanceNs) && a.name() == u"nil") {
      const auto v = a.value().trimmed();
      node->nil = v == u"true" || v == u"1";
    }
  }
  while (!r.atEnd()) {
    switch (r.readNext()) {
      case QXmlStreamReader::Characters:
        node->text += r.text();
        break;
      case QXmlStreamReader::StartElement:
        node->children.push_back(ReadNode(r, depth + 1));
        break;
      case QXmlStreamReader::EndElement:
        return node;
      default:
        break;
    }
  }
  Unreadable(r.hasError() ? r.errorString().toStdString() : std::string("XML incompleto"));
}

bool Is(const Node& n, const char16_t* ns, const char16_t* name) {
  return n.ns == QStringView(ns) && n.name == QStringView(name);
}

const Node* Child(const Node& parent, const char16_t* ns, const char16_t* name) {
  for (const auto& c : parent.children) {
    if (Is(*c, ns, name))
      return c.get();
  }
  return nullptr;
}

// The text of the first child named `name` in no namespace (the fault's
// parts are unqualified), or in any namespace when a server qualifies them.
QString FaultPart(const Node& fault, const char16_t* name) {
  for (const auto& c : fault.children) {
    if (c->name == QStringView(name))
      return c->text.trimmed();
  }
  return {};
}

// Follows href="#id" references to the element of the body that holds the
// value; a reference that leads nowhere or in a circle is unreadable.
const Node& Resolve(const Node& body, const Node& start) {
  const Node* node = &start;
  for (int hops = 0; !node->href.isEmpty(); ++hops) {
    if (hops > kMaxDepth)
      Unreadable("referências em círculo");
    if (!node->href.startsWith(QLatin1Char('#')))
      Unreadable("referência externa");
    const QString id = node->href.mid(1);
    const Node* target = nullptr;
    for (const auto& c : body.children) {
      if (c->id == id) {
        target = c.get();
        break;
      }
    }
    if (target == nullptr)
      Unreadable("referência não encontrada: " + id.toStdString());
    node = target;
  }
  return *node;
}

}  // namespace

std::string SoapAction(const std::string& operation) {
  return std::string(kNamespace) + "#" + operation;
}

std::string RequestEnvelope(const std::string& operation, const Parameters& parameters) {
  QString xml = QStringLiteral(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
      "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
      "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      "xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\">"
      "<SOAP-ENV:Body SOAP-ENV:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">");
  const QString name = QString::fromStdString(operation);
  xml += QStringLiteral("<NS1:") + name + QStringLiteral(" xmlns:NS1=\"") +
         QString::fromLatin1(kNamespace) + QStringLiteral("\">");
  for (const auto& [parameter, value] : parameters) {
    const QString element = QString::fromStdString(parameter);
    xml += QLatin1Char('<') + element + QStringLiteral(" xsi:type=\"xsd:string\">") +
           Escaped(QString::fromStdString(value)) + QStringLiteral("</") + element +
           QLatin1Char('>');
  }
  xml += QStringLiteral("</NS1:") + name + QStringLiteral("></SOAP-ENV:Body></SOAP-ENV:Envelope>");
  return xml.toStdString();
}

std::string ReadReturnValue(std::string_view xml) {
  QXmlStreamReader r(QByteArray(xml.data(), static_cast<qsizetype>(xml.size())));
  std::unique_ptr<Node> envelope;
  while (!r.atEnd() && !envelope) {
    switch (r.readNext()) {
      case QXmlStreamReader::StartElement:
        envelope = ReadNode(r, 0);
        break;
      case QXmlStreamReader::DTD:
        Unreadable("declaração de tipo de documento");
      default:
        break;
    }
  }
  if (!envelope) {
    Unreadable(r.hasError() ? r.errorString().toStdString() : std::string("resposta vazia"));
  }
  // Whatever follows the envelope must still be well-formed XML.
  while (!r.atEnd()) {
    if (r.readNext() == QXmlStreamReader::StartElement)
      Unreadable("conteúdo após o envelope");
  }
  if (r.hasError())
    Unreadable(r.errorString().toStdString());

  if (!Is(*envelope, kEnvelopeNs, u"Envelope"))
    Unreadable("não é um envelope SOAP 1.1");
  const Node* body = Child(*envelope, kEnvelopeNs, u"Body");
  if (body == nullptr)
    Unreadable("envelope sem corpo");
  if (const Node* fault = Child(*body, kEnvelopeNs, u"Fault")) {
    const QString code = FaultPart(*fault, u"faultcode");
    const QString text = FaultPart(*fault, u"faultstring");
    throw ServiceError(ServiceError::Kind::Fault,
                       "Falha SOAP " + code.toStdString() + ": " + text.toStdString());
  }
  // The response is the body's first serialisation root, preferring one that
  // is not also the target of a reference.
  const Node* response = nullptr;
  for (const auto& c : body->children) {
    if (c->root && (c->id.isEmpty() || response == nullptr)) {
      response = c.get();
      if (c->id.isEmpty())
        break;
    }
  }
  if (response == nullptr)
    Unreadable("corpo sem resposta");
  const Node& holder = Resolve(*body, *response);
  if (holder.children.empty())
    Unreadable("resposta sem valor de retorno");
  const Node& value = Resolve(*body, *holder.children.front());
  if (!value.children.empty())
    Unreadable("o valor de retorno não é um texto");
  if (value.nil)
    return {};
  return value.text.toStdString();
}

bool ReadBoolean(const std::string& value) {
  const QString text = QString::fromStdString(value).trimmed();
  // Some servers write the words capitalised.
  if (text.compare(u"true", Qt::CaseInsensitive) == 0 || text == u"1")
    return true;
  if (text.compare(u"false", Qt::CaseInsensitive) == 0 || text == u"0")
    return false;
  Unreadable("valor lógico inválido: " + value);
}

}  // namespace service::soap
