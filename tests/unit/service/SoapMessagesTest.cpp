// The SOAP texts of the update service, read back by the local server's own
// request reader and written in the styles of other RPC/encoded servers.
#include <gtest/gtest.h>

#include <QXmlStreamReader>

#include "service/Idmserver.h"
#include "service/SoapMessages.h"
#include "sim/server/SoapEnvelope.h"

namespace {

using service::ServiceError;
namespace soap = service::soap;

// The namespace URI of every element in document order, with its local name.
std::vector<std::pair<QString, QString>> Elements(const std::string& xml) {
  QXmlStreamReader r(QByteArray::fromStdString(xml));
  std::vector<std::pair<QString, QString>> out;
  while (!r.atEnd()) {
    if (r.readNext() == QXmlStreamReader::StartElement) {
      out.emplace_back(r.namespaceUri().toString(), r.name().toString());
    }
  }
  EXPECT_FALSE(r.hasError()) << r.errorString().toStdString();
  return out;
}

TEST(RequestEnvelope, OperationElementIsInTheServiceNamespaceWithTypedChildrenInOrder) {
  const std::string xml = soap::RequestEnvelope("UpdateDbTvs", {{"Key", "k"}, {"b", "2"}});
  const auto elements = Elements(xml);
  ASSERT_EQ(elements.size(), 5u);
  EXPECT_EQ(elements[0].first, u"http://schemas.xmlsoap.org/soap/envelope/");
  EXPECT_EQ(elements[0].second, u"Envelope");
  EXPECT_EQ(elements[1].second, u"Body");
  EXPECT_EQ(elements[2],
            std::make_pair(QString("urn:udmserver-Idmserver"), QString("UpdateDbTvs")));
  // Parameters are unqualified, as RPC/encoded servers look them up.
  EXPECT_EQ(elements[3], std::make_pair(QString(), QString("Key")));
  EXPECT_EQ(elements[4], std::make_pair(QString(), QString("b")));
  EXPECT_NE(xml.find("<Key xsi:type=\"xsd:string\">"), std::string::npos);
  EXPECT_NE(xml.find("SOAP-ENV:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\""),
            std::string::npos);
  EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
}

TEST(RequestEnvelope, ValuesThatNeedEscapingArriveUnchanged) {
  const std::vector<std::string> values = {
      service::kKey,                      // "&" and "?"
      "<tag> a & b \"quoted\" 'single'",  // markup characters
      "linha 1\r\nlinha 2\ttab",          // CR LF survives the line-end folding
      "Ação São Paulo – 日本 😀",          // UTF-8, a pair outside the BMP
      "",                                 // empty
  };
  for (const std::string& value : values) {
    const auto parsed =
        sim::soap::ParseRequest(soap::RequestEnvelope("ReturnUpdate", {{"Key", value}}));
    ASSERT_TRUE(parsed) << parsed.error();
    ASSERT_EQ(parsed->parameters.size(), 1u);
    EXPECT_EQ(parsed->parameters[0].second, value);
  }
}

TEST(RequestEnvelope, ControlCharactersXmlCannotCarryBecomeReplacementsNotBrokenXml) {
  const auto parsed = sim::soap::ParseRequest(soap::RequestEnvelope("ReturnUpdate", {{"Key",
                                                                                      "a\x01"
                                                                                      "b\x1f"}}));
  ASSERT_TRUE(parsed) << parsed.error();
  EXPECT_EQ(parsed->parameters[0].second, "a\uFFFDb\uFFFD");
}

TEST(SoapAction, IsTheNamespaceHashOperation) {
  EXPECT_EQ(soap::SoapAction("RecebeSystemLog"), "urn:udmserver-Idmserver#RecebeSystemLog");
}

struct AnswerCase {
  const char* style;
  std::string xml;
  std::string value;
};

const std::string kEnv = "http://schemas.xmlsoap.org/soap/envelope/";
const std::string kEnc = "http://schemas.xmlsoap.org/soap/encoding/";

std::vector<AnswerCase> Answers() {
  return {
      {"the local server, inline",
       sim::soap::ResultEnvelope("ReturnUpdate", "string", "a.slvr,1001,x,y\r\nb & <c>",
                                 sim::SoapStyle::Inline),
       "a.slvr,1001,x,y\r\nb & <c>"},
      {"the local server, multi-reference",
       sim::soap::ResultEnvelope("UpdateDbTvs", "string", "1$TV$#", sim::SoapStyle::MultiRef),
       "1$TV$#"},
      {"other prefixes, xsi:type with a different xsd prefix",
       "<soap:Envelope xmlns:soap=\"" + kEnv +
           "\" xmlns:s=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:i=\"http://www.w3.org/2001/XMLSchema-instance\"><soap:Body>"
           "<m:ReturnUpdateResponse xmlns:m=\"urn:udmserver-Idmserver\">"
           "<result i:type=\"s:string\">valor</result></m:ReturnUpdateResponse>"
           "</soap:Body></soap:Envelope>",
       "valor"},
      {"default namespaces, no prefixes at all",
       "<Envelope xmlns=\"" + kEnv +
           "\"><Body><ReturnUpdateResponse "
           "xmlns=\"urn:udmserver-Idmserver\"><return>sem prefixo</return>"
           "</ReturnUpdateResponse></Body></Envelope>",
       "sem prefixo"},
      {"multiRef before the response, with a header and an explicit root",
       "<?xml version=\"1.0\" encoding=\"utf-8\"?><e:Envelope xmlns:e=\"" + kEnv +
           "\" xmlns:enc=\"" + kEnc +
           "\"><e:Header><t:Id xmlns:t=\"urn:t\">9</t:Id></e:Header>"
           "<e:Body><multiRef id=\"id0\" enc:root=\"0\">referido</multiRef>"
           "<ns1:UpdateDbTvsResponse xmlns:ns1=\"urn:x\" enc:root=\"1\">"
           "<UpdateDbTvsReturn href=\"#id0\"/></ns1:UpdateDbTvsResponse></e:Body></e:Envelope>",
       "referido"},
      {"a reference chain and CDATA",
       "<e:Envelope xmlns:e=\"" + kEnv + "\" xmlns:enc=\"" + kEnc +
           "\"><e:Body>"
           "<r:XResponse xmlns:r=\"urn:r\"><return href=\"#a\"/></r:XResponse>"
           "<item id=\"a\" enc:root=\"0\" href=\"#b\"/>"
           "<item id=\"b\" enc:root=\"0\"><![CDATA[x<y]]></item></e:Body></e:Envelope>",
       "x<y"},
      {"xsi:nil",
       "<e:Envelope xmlns:e=\"" + kEnv +
           "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
           "<e:Body><r:XResponse xmlns:r=\"urn:r\"><return xsi:nil=\"true\"/></r:XResponse>"
           "</e:Body></e:Envelope>",
       ""},
      {"Latin-1 declared encoding",
       std::string("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><e:Envelope xmlns:e=\"") + kEnv +
           "\"><e:Body><r:XResponse xmlns:r=\"urn:r\"><return>S\xe3o</return></r:XResponse>"
           "</e:Body></e:Envelope>",
       "São"},
  };
}

TEST(ReadReturnValue, ReadsTheValueOfEveryResponseStyle) {
  for (const AnswerCase& c : Answers()) {
    SCOPED_TRACE(c.style);
    try {
      EXPECT_EQ(soap::ReadReturnValue(c.xml), c.value);
    } catch (const ServiceError& e) {
      ADD_FAILURE() << e.what();
    }
  }
}

ServiceError::Kind KindOf(const std::string& xml) {
  try {
    soap::ReadReturnValue(xml);
  } catch (const ServiceError& e) {
    return e.kind();
  }
  ADD_FAILURE() << "no error for: " << xml;
  return ServiceError::Kind::Transport;
}

TEST(ReadReturnValue, FaultsRaiseWithTheServersText) {
  const std::string ours = sim::soap::FaultEnvelope({"SOAP-ENV:Server", "Banco indisponível"});
  EXPECT_EQ(KindOf(ours), ServiceError::Kind::Fault);
  try {
    soap::ReadReturnValue(ours);
  } catch (const ServiceError& e) {
    EXPECT_NE(std::string(e.what()).find("Banco indisponível"), std::string::npos);
  }
  const std::string otherPrefix = "<s:Envelope xmlns:s=\"" + kEnv +
                                  "\"><s:Body><s:Fault><faultcode>s:Client</faultcode>"
                                  "<faultstring>x</faultstring></s:Fault></s:Body></s:Envelope>";
  EXPECT_EQ(KindOf(otherPrefix), ServiceError::Kind::Fault);
}

TEST(ReadReturnValue, AnythingThatIsNotAResponseWithAValueIsUnreadable) {
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"empty", ""},
      {"HTML error page", "<html><body>502 Bad Gateway</body></html>"},
      {"plain text", "Internal Server Error"},
      {"cut off", "<e:Envelope xmlns:e=\"" + kEnv + "\"><e:Body><r:X xmlns:r=\"u\"><return>ab"},
      {"SOAP 1.2 envelope",
       "<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Body><r:X "
       "xmlns:r=\"u\"><return>1</return></r:X></e:Body></e:Envelope>"},
      {"no body", "<e:Envelope xmlns:e=\"" + kEnv + "\"/>"},
      {"empty body", "<e:Envelope xmlns:e=\"" + kEnv + "\"><e:Body/></e:Envelope>"},
      {"response without a value",
       "<e:Envelope xmlns:e=\"" + kEnv + "\"><e:Body><r:X xmlns:r=\"u\"/></e:Body></e:Envelope>"},
      {"dangling reference",
       "<e:Envelope xmlns:e=\"" + kEnv +
           "\"><e:Body><r:X xmlns:r=\"u\"><return href=\"#nope\"/></r:X></e:Body></e:Envelope>"},
      {"circular reference",
       "<e:Envelope xmlns:e=\"" + kEnv + "\" xmlns:enc=\"" + kEnc +
           "\"><e:Body><r:X xmlns:r=\"u\"><return href=\"#a\"/></r:X><m id=\"a\" enc:root=\"0\" "
           "href=\"#a\"/></e:Body></e:Envelope>"},
      {"structured value",
       "<e:Envelope xmlns:e=\"" + kEnv +
           "\"><e:Body><r:X xmlns:r=\"u\"><return><a>1</a></return></r:X></e:Body></e:Envelope>"},
      {"document type declaration",
       "<!DOCTYPE e [<!ENTITY a \"aaaa\">]><e:Envelope xmlns:e=\"" + kEnv +
           "\"><e:Body><r:X xmlns:r=\"u\"><return>&a;</return></r:X></e:Body></e:Envelope>"},
      {"nesting without end", "<e:Envelope xmlns:e=\"" + kEnv + "\"><e:Body>" +
                                  [] {
                                    std::string s;
                                    for (int i = 0; i < 100000; ++i)
                                      s += "<a>";
                                    return s;
                                  }()},
  };
  for (const auto& [name, xml] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(KindOf(xml), ServiceError::Kind::Unreadable);
  }
}

TEST(ReadBoolean, AcceptsTheSchemaLexicalFormsOnly) {
  EXPECT_TRUE(soap::ReadBoolean("true"));
  EXPECT_TRUE(soap::ReadBoolean(" 1 "));
  EXPECT_TRUE(soap::ReadBoolean("True"));
  EXPECT_FALSE(soap::ReadBoolean("false"));
  EXPECT_FALSE(soap::ReadBoolean("0"));
  for (const char* bad : {"", "yes", "2", "truee", "verdadeiro"}) {
    EXPECT_THROW(soap::ReadBoolean(bad), ServiceError) << bad;
  }
}

}  // namespace
