#pragma once
#include <memory>
#include <string>

// Registration of the browser as the handler of ftp, http and https.
class IBroswerRegister {
public:
    virtual ~IBroswerRegister() = default;
    // 1 registered, 0 failed.
    virtual int Register() { return 0; }
    // Non-zero when the browser is the default.
    virtual int IsDefault() { return 0; }
};

// Forwards to one owned implementation; answers 0 without one.
class CBroswerRegister : public IBroswerRegister {
public:
    explicit CBroswerRegister(IBroswerRegister* impl) : impl_(impl) {}

    int Register() override { return impl_ ? impl_->Register() : 0; }
    int IsDefault() override { return impl_ ? impl_->IsDefault() : 0; }

private:
    std::unique_ptr<IBroswerRegister> impl_;
};

// Vista and later: the prog id under the user's classes and the user's choice.
class CWin7BroswerRegisterImpl : public IBroswerRegister {
public:
    int Register() override;
    int IsDefault() override;
};

// Windows 2000/XP: the open commands under the classes root.
class CXPBroswerRegisterImpl : public IBroswerRegister {
public:
    int Register() override;
    int IsDefault() override;
};

class CBroswerRegisterFactory {
public:
    virtual ~CBroswerRegisterFactory() = default;
};

// The implementation for this Windows (version classes 4-5 Vista family,
// 2-3 Windows 2000/XP, none for 0-1); the caller owns it.
// The version class is the one the utility DLL picks its volume control by.
IBroswerRegister* NewBroswerRegisterImpl();
IBroswerRegister* NewBroswerRegisterImpl(int versionClass);
CBroswerRegister* NewBroswerRegister(IBroswerRegister* impl);
void DestroyBroswerRegister(CBroswerRegister* wrapper);

// The executable registered and the command the schemes open it with.
std::wstring GetBroswerExePath();
std::wstring GetBroswerOpenCommand();
