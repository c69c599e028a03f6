#pragma once

// Installs the process-wide TLS default: peers are verified against the system's CAs plus the
// PEM file named by KOVA_CA_CERTIFICATES (the development server's certificate).
void installVerifyingTlsDefault();
