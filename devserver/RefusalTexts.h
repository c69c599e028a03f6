#pragma once

#include <QString>

namespace devserver {

// The Persian errorText of every refusal the app interface gives; the app shows them unchanged.
namespace RefusalTexts {

inline QString unreadableBody()
{
    return QStringLiteral("درخواست قابل خواندن نیست.");
}
inline QString badRequest()
{
    return QStringLiteral("درخواست ناقص یا نامعتبر است.");
}
inline QString unknownCommand()
{
    return QStringLiteral("دستور ناشناخته است.");
}
inline QString wrongLogin()
{
    return QStringLiteral("نام کاربری یا کلمه عبور اشتباه است!");
}
inline QString noDevices()
{
    return QStringLiteral("هیچ دستگاهی به این حساب متصل نیست.");
}
inline QString unknownUser()
{
    return QStringLiteral("کاربر یافت نشد.");
}
inline QString unknownDevice()
{
    return QStringLiteral("دستگاه یافت نشد.");
}
inline QString wrongRecoveryDetails()
{
    return QStringLiteral("اطلاعات وارد شده با اطلاعات دستگاه مطابقت ندارد.");
}
inline QString aliasTaken()
{
    return QStringLiteral("این نام کاربری وجود دارد. لطفا نام کاربری دیگری برگزینید.");
}
inline QString badAlias()
{
    return QStringLiteral("نام کاربری معتبر نیست.");
}
inline QString wrongCurrentPassword()
{
    return QStringLiteral("رمز عبور جاری اشتباه است.");
}
inline QString badPasswordDigest()
{
    return QStringLiteral("رمز عبور جدید معتبر نیست.");
}
inline QString missingOwnerDetails()
{
    return QStringLiteral("نام، نام خانوادگی و تلفن تماس الزامی است.");
}
inline QString missingVehicleModel()
{
    return QStringLiteral("مدل خودرو الزامی است.");
}
inline QString badPhoneNumber()
{
    return QStringLiteral("شماره تلفن معتبر نیست.");
}
inline QString badSimNumber()
{
    return QStringLiteral("شماره سیم‌کارت معتبر نیست.");
}
inline QString simNumberInUse()
{
    return QStringLiteral(
        "این شماره سیم‌کارت برای دستگاه دیگری ثبت شده "
        "است.");
}
inline QString badConfigFrame()
{
    return QStringLiteral("دستور تنظیم دستگاه نامعتبر است.");
}
inline QString badShareDuration()
{
    return QStringLiteral("مدت اعتبار لینک نامعتبر است.");
}
inline QString badShareToken()
{
    return QStringLiteral("شناسه لینک نامعتبر است.");
}
inline QString shareTokenExpired()
{
    return QStringLiteral("اعتبار لینک به پایان رسیده است.");
}

} // namespace RefusalTexts

} // namespace devserver
