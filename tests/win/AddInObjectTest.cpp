// TMSOfficeAddIn as a COM object: identity, the interfaces it answers, its type information and
// the server's count of live objects.
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include "AddInTestSupport.h"
#include "BStr.h"
#include "ComPtr.h"
#include "ServerState.h"
#include "hostdouble/Apartment.h"

namespace inkra::addin {
namespace {

using win::BStr;
using win::ComPtr;

class AddInObject : public ::testing::Test {
 protected:
  void SetUp() override { addIn = win::Adopt(new ScriptedAddIn); }
  test::Apartment apartment;
  ComPtr<ScriptedAddIn> addIn;
};

ComPtr<IUnknown> Identity(IUnknown* from) {
  ComPtr<IUnknown> identity;
  EXPECT_EQ(from->QueryInterface(IID_PPV_ARGS(&identity)), S_OK);
  return identity;
}

TEST_F(AddInObject, EveryInterfaceLeadsToOneIdentity) {
  ComPtr<IUnknown> identity;
  ASSERT_EQ(addIn->QueryInterface(IID_PPV_ARGS(&identity)), S_OK);
  for (const IID& iid : {IID_IDispatch, __uuidof(IDTExtensibility2), IID_ISupportErrorInfo, IID_IProvideClassInfo,
                         IID_IWordAddIn}) {
    ComPtr<IUnknown> face;
    ASSERT_EQ(addIn->QueryInterface(iid, reinterpret_cast<void**>(face.GetAddressOf())), S_OK);
    EXPECT_EQ(Identity(face.Get()), identity);
  }
  // Back again from any of them.
  ComPtr<IProvideClassInfo> classInfo;
  ComPtr<IDTExtensibility2> extensibility, again;
  ASSERT_EQ(addIn->QueryInterface(IID_PPV_ARGS(&classInfo)), S_OK);
  ASSERT_EQ(addIn->QueryInterface(IID_PPV_ARGS(&extensibility)), S_OK);
  ASSERT_EQ(classInfo.As(&again), S_OK);
  EXPECT_EQ(again, extensibility);
}

TEST_F(AddInObject, RefusesInterfacesItDoesNotImplement) {
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(addIn->QueryInterface(IID_IPersist, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(addIn->QueryInterface(IID_IExcelAddIn, &out), E_NOINTERFACE);
  EXPECT_EQ(addIn->QueryInterface(IID_IConnectionPointContainer, &out), E_NOINTERFACE);
  EXPECT_EQ(addIn->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(AddInObject, SupportsErrorInfoForItsOwnInterfacesOnly) {
  EXPECT_EQ(addIn->InterfaceSupportsErrorInfo(__uuidof(IDTExtensibility2)), S_OK);
  EXPECT_EQ(addIn->InterfaceSupportsErrorInfo(IID_IDispatch), S_OK);
  EXPECT_EQ(addIn->InterfaceSupportsErrorInfo(IID_IWordAddIn), S_OK);
  EXPECT_EQ(addIn->InterfaceSupportsErrorInfo(IID_IPersist), S_FALSE);
  EXPECT_EQ(addIn->InterfaceSupportsErrorInfo(IID_IExcelAddIn), S_FALSE);
}

std::wstring NameOf(ITypeInfo* info) {
  BStr name;
  EXPECT_EQ(info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr), S_OK);
  return name.str();
}

TEST_F(AddInObject, DispatchAnswersFromTheDefaultInterfaceOfItsCoclass) {
  UINT count = 0;
  ASSERT_EQ(addIn->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(addIn->GetTypeInfo(0, 0, &info), S_OK);
  EXPECT_EQ(NameOf(info.Get()), L"IWordAddIn");
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, IID_IWordAddIn));
  info->ReleaseTypeAttr(attr);
  ComPtr<ITypeInfo> none;
  EXPECT_EQ(addIn->GetTypeInfo(1, 0, &none), DISP_E_BADINDEX);

  // The interface has no members of its own.
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"OnConnection")};
  DISPID id = 0;
  EXPECT_EQ(addIn->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
  DISPPARAMS params{};
  EXPECT_EQ(addIn->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);

  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(addIn->GetClassInfo(&coclass), S_OK);
  EXPECT_EQ(NameOf(coclass.Get()), L"WordAddIn");
}

TEST(AddInLifetime, ObjectsAreCountedWhileAliveAndReferencesBalance) {
  test::Apartment apartment;
  long before = LiveObjects();
  ScriptedAddIn* raw = new ScriptedAddIn;
  EXPECT_EQ(LiveObjects(), before + 1);
  EXPECT_FALSE(CanUnloadNow());
  EXPECT_EQ(raw->AddRef(), 2u);
  IDTExtensibility2* extensibility = nullptr;
  ASSERT_EQ(raw->QueryInterface(IID_PPV_ARGS(&extensibility)), S_OK);
  EXPECT_EQ(extensibility->Release(), 2u);
  EXPECT_EQ(raw->Release(), 1u);
  EXPECT_EQ(raw->Release(), 0u);
  EXPECT_EQ(LiveObjects(), before);
  EXPECT_TRUE(CanUnloadNow());
  LockServer(true);
  EXPECT_FALSE(CanUnloadNow());
  LockServer(false);
  EXPECT_TRUE(CanUnloadNow());
}

}  // namespace
}  // namespace inkra::addin
