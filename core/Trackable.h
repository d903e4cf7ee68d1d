#pragma once

#include <memory>

namespace tagwell {

// Base of every object that the object layer calls back. It carries a
// lifetime token so that a non-owning reference (OwnerRef) can tell whether
// the object still exists: the token dies with the object.
class Trackable {
public:
    Trackable() : m_token(std::make_shared<char>(0)) {}
    Trackable(const Trackable&) : m_token(std::make_shared<char>(0)) {}
    Trackable& operator=(const Trackable&) { return *this; }
    virtual ~Trackable() = default;

    std::weak_ptr<const void> lifetimeToken() const { return m_token; }

private:
    std::shared_ptr<char> m_token;
};

// A non-owning reference to an owner: it does not keep the owner alive and
// becomes empty when the owner is destroyed, so a callback never reaches a
// dead object. Everything runs on the owner thread, so an owner that resolves
// stays alive for the length of the call made through it.
template <class T>
class OwnerRef {
public:
    OwnerRef() = default;
    OwnerRef(T* owner)
        : m_owner(owner), m_token(owner ? owner->lifetimeToken() : std::weak_ptr<const void>())
    {
    }

    // The owner, or nullptr when none was set or it has gone.
    T* resolve() const { return m_token.expired() ? nullptr : m_owner; }
    bool empty() const { return resolve() == nullptr; }
    void reset() { *this = OwnerRef(); }

private:
    T* m_owner = nullptr;
    std::weak_ptr<const void> m_token;
};

}  // namespace tagwell
