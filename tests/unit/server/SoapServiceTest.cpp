#include <gtest/gtest.h>

#include <QString>
#include <QXmlStreamReader>
#include <map>

#include "support/HttpClient.h"
#include "support/LocalServer.h"

namespace {

using testsupport::PostSoap;

const std::string kAction = std::string(sim::kSoapNamespace) + "#";

const char* const kLogParameters[] = {"Key",
                                      "macadress",
                                      "pcname",
                                      "windowsuser",
                                      "externalipv4",
                                      "operationsystem",
                                      "cpu",
                                      "memory_capacity",
                                      "memory_free",
                                      "disk_capacity",
                                      "disk_free",
                                      "city",
                                      "state",
                                      "systemversion",
                                      "protocol",
                                      "productid",
                                      "chipset",
                                      "idlastuserinteraction",
                                      "idsystemstatus",
                                      "systemtotaltime",
                                      "firmwaredownloadtime",
                                      "downloadsize",
                                      "useractions",
                                      "cd_cpf",
                                      "cd_nome",
                                      "cd_telefone",
                                      "cd_email"};

std::string Envelope(const std::string& operation, const sim::HeaderList& parameters) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
      "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
      "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><SOAP-ENV:Body "
      "SOAP-ENV:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><NS1:" +
      operation + " xmlns:NS1=\"urn:udmserver-Idmserver\">";
  for (const auto& [name, value] : parameters) {
    xml += "<" + name + " xsi:type=\"xsd:string\">" + value + "</" + name + ">";
  }
  return xml + "</NS1:" + operation + "></SOAP-ENV:Body></SOAP-ENV:Envelope>";
}

std::string KeyOnly(const std::string& operation, const std::string& key = sim::kServiceKey) {
  // The key's "&" must travel escaped.
  QString escaped = QString::fromStdString(key).toHtmlEscaped();
  return Envelope(operation, {{"Key", escaped.toStdString()}});
}

// What a SOAP client reads: the return value (following an href) or the fault string.
struct Reading {
  std::string value;
  std::string faultString;
  bool viaReference = false;
};

Reading Read(const std::string& xml) {
  QXmlStreamReader r(QByteArray::fromStdString(xml));
  Reading reading;
  std::map<QString, QString> byId;
  QString href;
  while (!r.atEnd()) {
    if (r.readNext() != QXmlStreamReader::StartElement) {
      continue;
    }
    const auto id = r.attributes().value(QStringLiteral("id")).toString();
    if (r.name() == u"return") {
      href = r.attributes().value(QStringLiteral("href")).toString();
      reading.value = r.readElementText().toStdString();
    } else if (r.name() == u"faultstring") {
      reading.faultString = r.readElementText().toStdString();
    } else if (!id.isEmpty()) {
      byId[id] = r.readElementText();
    }
  }
  EXPECT_FALSE(r.hasError()) << r.errorString().toStdString() << "\n" << xml;
  if (!href.isEmpty()) {
    reading.viaReference = true;
    reading.value = byId[href.mid(1)].toStdString();
  }
  return reading;
}

class SoapServiceTest : public ::testing::Test {
 protected:
  testsupport::LocalServer local;
  const std::string url = local.url(sim::kSoapPath);
};

TEST_F(SoapServiceTest, StringAnswersArriveIntactInBothStyles) {
  // Line breaks (CR LF included), markup characters and accents.
  const std::string updates = "a.slvr,1001,C:\\x,y\r\nb & <c>.slvr,1002,\"z\",ç\n";
  const std::string tvs = "TV1$Modelo$url$$$2$P$fw$$força$$menu$md5$1000#";
  local->SetReturnUpdate(updates);
  local->SetUpdateDbTvs(tvs);
  for (const auto style : {sim::SoapStyle::Inline, sim::SoapStyle::MultiRef}) {
    SCOPED_TRACE(style == sim::SoapStyle::Inline ? "inline" : "multiref");
    local->SetSoapStyle(style);
    for (const auto& [operation, expected] :
         {std::pair{"ReturnUpdate", updates}, std::pair{"UpdateDbTvs", tvs}}) {
      const auto r = PostSoap(url, kAction + operation, KeyOnly(operation));
      ASSERT_EQ(r.code, CURLE_OK) << r.error;
      EXPECT_EQ(r.status, 200);
      EXPECT_NE(r.body.find(std::string("<NS1:") + operation +
                            "Response xmlns:NS1=\"urn:udmserver-Idmserver\""),
                std::string::npos)
          << r.body;
      const auto reading = Read(r.body);
      EXPECT_EQ(reading.value, expected);
      EXPECT_EQ(reading.viaReference, style == sim::SoapStyle::MultiRef);
    }
  }
}

TEST_F(SoapServiceTest, RecebeSystemLogRecordsTheTwentySevenParametersInOrder) {
  sim::HeaderList parameters;
  for (const char* name : kLogParameters) {
    parameters.emplace_back(name, std::string(name) == "Key" ? "%&amp;*#!?qzvnmlkjpw!&amp;?rtyuOPQ"
                                                             : std::string("v-") + name + "-ã");
  }
  local->SetRecebeSystemLog(false);
  const auto refused =
      PostSoap(url, kAction + "RecebeSystemLog", Envelope("RecebeSystemLog", parameters));
  EXPECT_EQ(Read(refused.body).value, "false");
  local->SetRecebeSystemLog(true);
  const auto stored =
      PostSoap(url, kAction + "RecebeSystemLog", Envelope("RecebeSystemLog", parameters));
  EXPECT_EQ(stored.status, 200);
  EXPECT_NE(stored.body.find("xsi:type=\"xsd:boolean\">true<"), std::string::npos) << stored.body;

  const auto calls = local->SoapCalls();
  ASSERT_EQ(calls.size(), 2u);
  const auto& call = calls[1];
  EXPECT_EQ(call.operation, "RecebeSystemLog");
  EXPECT_EQ(call.soapAction, "urn:udmserver-Idmserver#RecebeSystemLog");
  EXPECT_TRUE(call.faultString.empty());
  ASSERT_EQ(call.parameters.size(), 27u);
  for (std::size_t i = 0; i < 27; ++i) {
    EXPECT_EQ(call.parameters[i].first, kLogParameters[i]);
  }
  EXPECT_EQ(call.Parameter("Key"), sim::kServiceKey);
  EXPECT_EQ(call.Parameter("cd_email"), "v-cd_email-ã");
}

TEST_F(SoapServiceTest, EnvelopesWithOtherPrefixesAndReferencedParametersAreRead) {
  local->SetReturnUpdate("lista");
  const std::string envelopes[] = {
      // other prefixes, a header, the operation in a default namespace
      "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\">"
      "<soapenv:Header/><soapenv:Body><ReturnUpdate xmlns=\"urn:udmserver-Idmserver\">"
      "<Key>%&amp;*#!?qzvnmlkjpw!&amp;?rtyuOPQ</Key></ReturnUpdate></soapenv:Body>"
      "</soapenv:Envelope>",
      // the parameter as a multi-reference to a separate element
      "<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\" "
      "xmlns:enc=\"http://schemas.xmlsoap.org/soap/encoding/\"><e:Body>"
      "<u:ReturnUpdate xmlns:u=\"urn:udmserver-Idmserver\"><Key href=\"#k\"/></u:ReturnUpdate>"
      "<s id=\"k\" enc:root=\"0\">%&amp;*#!?qzvnmlkjpw!&amp;?rtyuOPQ</s></e:Body></e:Envelope>",
  };
  for (const auto& envelope : envelopes) {
    const auto r = PostSoap(url, kAction + "ReturnUpdate", envelope);
    EXPECT_EQ(r.status, 200) << r.body;
    EXPECT_EQ(Read(r.body).value, "lista");
  }
  ASSERT_EQ(local->SoapCalls().size(), 2u);
  EXPECT_EQ(local->SoapCalls()[1].Parameter("Key"), sim::kServiceKey);
}

struct FaultCase {
  const char* name;
  std::string action;
  std::string body;
  const char* faultString;
};

TEST_F(SoapServiceTest, BadCallsAnswer500WithAFault) {
  const FaultCase cases[] = {
      {"wrong key", kAction + "ReturnUpdate", KeyOnly("ReturnUpdate", "chave"),
       "Chave de acesso inválida"},
      {"missing key", kAction + "UpdateDbTvs", Envelope("UpdateDbTvs", {}),
       "Chave de acesso inválida"},
      {"wrong SOAPAction", kAction + "UpdateDbTvs", KeyOnly("ReturnUpdate"), "SOAPAction"},
      {"unknown operation", kAction + "Apaga", KeyOnly("Apaga"), "Operação desconhecida"},
      {"malformed XML", kAction + "ReturnUpdate", "<SOAP-ENV:Envelope><oops", "XML"},
      {"not an envelope", kAction + "ReturnUpdate", "<a/>", "envelope"},
      {"empty body", kAction + "ReturnUpdate", "", "XML"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto r = PostSoap(url, c.action, c.body);
    ASSERT_EQ(r.code, CURLE_OK) << r.error;
    EXPECT_EQ(r.status, 500);
    EXPECT_NE(Read(r.body).faultString.find(c.faultString), std::string::npos) << r.body;
  }
  // Calls that were understood are recorded with the fault they got.
  const auto calls = local->SoapCalls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].Parameter("Key"), "chave");
  EXPECT_EQ(calls[0].faultString, "Chave de acesso inválida");
}

TEST_F(SoapServiceTest, ConfiguredFaultReplacesTheAnswerOfOneOperationOnly) {
  local->SetSoapFault("UpdateDbTvs", sim::SoapFault{"SOAP-ENV:Server", "Banco indisponível"});
  const auto faulted = PostSoap(url, kAction + "UpdateDbTvs", KeyOnly("UpdateDbTvs"));
  EXPECT_EQ(faulted.status, 500);
  EXPECT_EQ(Read(faulted.body).faultString, "Banco indisponível");
  EXPECT_NE(faulted.body.find("<faultcode>SOAP-ENV:Server</faultcode>"), std::string::npos);
  EXPECT_EQ(PostSoap(url, kAction + "ReturnUpdate", KeyOnly("ReturnUpdate")).status, 200);

  local->SetSoapFault("UpdateDbTvs", std::nullopt);
  EXPECT_EQ(PostSoap(url, kAction + "UpdateDbTvs", KeyOnly("UpdateDbTvs")).status, 200);
}

TEST_F(SoapServiceTest, GetOnTheServiceIsRefused) {
  EXPECT_EQ(testsupport::Fetch({.url = url}).status, 405);
}

}  // namespace
