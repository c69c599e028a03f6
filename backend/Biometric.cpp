#include "Biometric.h"

Biometric::Biometric(QObject *parent) : QObject(parent) {}

bool Biometric::isBiometricSupported() const
{
    return false;
}

void Biometric::auth() {}
