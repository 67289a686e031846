#include "sim/server/Certificates.h"

#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <fstream>
#include <memory>
#include <sstream>

namespace sim {
namespace {

using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using X509Ptr = std::unique_ptr<X509, decltype(&X509_free)>;
using BioPtr = std::unique_ptr<BIO, decltype(&BIO_free)>;

KeyPtr NewKey() {
  return KeyPtr(EVP_EC_gen("P-256"), &EVP_PKEY_free);
}

bool AddExtension(X509* certificate, X509* issuer, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, issuer, certificate, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  if (extension == nullptr) {
    return false;
  }
  const bool added = X509_add_ext(certificate, extension, -1) == 1;
  X509_EXTENSION_free(extension);
  return added;
}

// A certificate for `key` named `commonName`; self-signed when `issuer` is null.
X509Ptr NewCertificate(EVP_PKEY* key, const char* commonName, X509* issuer, EVP_PKEY* issuerKey) {
  X509Ptr certificate(X509_new(), &X509_free);
  unsigned char serial[16];
  if (!certificate || RAND_bytes(serial, sizeof serial) != 1) {
    return X509Ptr(nullptr, &X509_free);
  }
  serial[0] &= 0x7f;  // keep the serial number positive
  std::unique_ptr<BIGNUM, decltype(&BN_free)> number(BN_bin2bn(serial, sizeof serial, nullptr),
                                                     &BN_free);
  X509* c = certificate.get();
  X509_NAME* name = X509_get_subject_name(c);
  const bool ok =
      number && BN_to_ASN1_INTEGER(number.get(), X509_get_serialNumber(c)) != nullptr &&
      X509_set_version(c, 2) == 1 && X509_gmtime_adj(X509_getm_notBefore(c), -3600) != nullptr &&
      X509_gmtime_adj(X509_getm_notAfter(c), 60L * 60 * 24 * 365) != nullptr &&
      X509_set_pubkey(c, key) == 1 &&
      X509_NAME_add_entry_by_txt(name, "O", MBSTRING_UTF8,
                                 reinterpret_cast<const unsigned char*>("Solvanta simulado"), -1,
                                 -1, 0) == 1 &&
      X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                                 reinterpret_cast<const unsigned char*>(commonName), -1, -1,
                                 0) == 1 &&
      X509_set_issuer_name(c, issuer ? X509_get_subject_name(issuer) : name) == 1;
  if (!ok) {
    return X509Ptr(nullptr, &X509_free);
  }
  X509* signer = issuer ? issuer : c;
  const bool extended =
      issuer == nullptr
          ? AddExtension(c, signer, NID_basic_constraints, "critical,CA:TRUE") &&
                AddExtension(c, signer, NID_key_usage, "critical,keyCertSign,cRLSign") &&
                AddExtension(c, signer, NID_subject_key_identifier, "hash")
          : AddExtension(c, signer, NID_basic_constraints, "critical,CA:FALSE") &&
                AddExtension(c, signer, NID_key_usage, "critical,digitalSignature") &&
                AddExtension(c, signer, NID_ext_key_usage, "serverAuth") &&
                AddExtension(c, signer, NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1") &&
                AddExtension(c, signer, NID_authority_key_identifier, "keyid");
  if (!extended || X509_sign(c, issuerKey ? issuerKey : key, EVP_sha256()) == 0) {
    return X509Ptr(nullptr, &X509_free);
  }
  return certificate;
}

std::string ToPem(X509* certificate) {
  BioPtr bio(BIO_new(BIO_s_mem()), &BIO_free);
  PEM_write_bio_X509(bio.get(), certificate);
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(size));
}

std::string ToPem(EVP_PKEY* key) {
  BioPtr bio(BIO_new(BIO_s_mem()), &BIO_free);
  PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr);
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(size));
}

bool WriteTextFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
}

}  // namespace

std::expected<GeneratedCertificates, std::string> GenerateCertificates() {
  KeyPtr caKey = NewKey();
  KeyPtr serverKey = NewKey();
  if (!caKey || !serverKey) {
    return std::unexpected(std::string("Falha ao gerar as chaves"));
  }
  X509Ptr ca = NewCertificate(caKey.get(), "Solvanta CA de teste", nullptr, nullptr);
  if (!ca) {
    return std::unexpected(std::string("Falha ao gerar o certificado da CA"));
  }
  X509Ptr server = NewCertificate(serverKey.get(), "localhost", ca.get(), caKey.get());
  if (!server) {
    return std::unexpected(std::string("Falha ao gerar o certificado do servidor"));
  }
  return GeneratedCertificates{ToPem(ca.get()), {ToPem(server.get()), ToPem(serverKey.get())}};
}

std::expected<std::filesystem::path, std::string> WriteCertificates(
    const GeneratedCertificates& certificates, const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const auto ca = folder / "ca.pem";
  if (error || !WriteTextFile(ca, certificates.caCertificatePem) ||
      !WriteTextFile(folder / "server.pem", certificates.server.certificatePem) ||
      !WriteTextFile(folder / "server-key.pem", certificates.server.privateKeyPem)) {
    return std::unexpected("Não foi possível gravar os certificados em " + folder.string());
  }
  return ca;
}

std::expected<std::string, std::string> ReadTextFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::unexpected("Não foi possível ler " + path.string());
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace sim
