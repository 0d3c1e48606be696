// The module's factory as a host reads it, the class IDs hosts save sessions by,
// and the objects it makes: what they answer to queryInterface, and that every
// reference taken is given back.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "formats/vst3/params.h"
#include "formats/vst3/vst3_editing.h"
#include "formats/vst3/vst3_view.h"
#include "soravel_product.h"
#include "tests/vst3/vst3_host.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <unknwn.h>
#endif

namespace vst3test {
namespace {

// An identifier as hosts print it: 32 hex digits of its four words (on Windows the
// first eight bytes are a COM GUID's fields).
std::string Printed(const TUID& u) {
  const auto b = [&u](int i) { return static_cast<unsigned>(static_cast<unsigned char>(u.bytes[i])); };
  char s[33];
#ifdef _WIN32
  std::snprintf(s, sizeof s, "%02X%02X%02X%02X%02X%02X%02X%02X", b(3), b(2), b(1), b(0), b(5), b(4), b(7), b(6));
#else
  std::snprintf(s, sizeof s, "%02X%02X%02X%02X%02X%02X%02X%02X", b(0), b(1), b(2), b(3), b(4), b(5), b(6), b(7));
#endif
  for (int i = 8; i < 16; ++i) std::snprintf(s + 2 * i, sizeof s - 2 * i, "%02X", b(i));
  return s;
}

std::u16string Text16(const char16* t) { return t; }

// Asks `object` for `iid`: true, and the reference given back, when it answers.
bool Answers(FUnknown* object, const TUID& iid) {
  void* obj = reinterpret_cast<void*>(1);
  const tresult r = object->queryInterface(iid.bytes, &obj);
  if (r != kResultOk) {
    EXPECT_EQ(obj, nullptr);
    EXPECT_EQ(r, kNoInterface);
    return false;
  }
  EXPECT_NE(obj, nullptr);
  static_cast<FUnknown*>(obj)->release();
  return true;
}

uint32 Count(FUnknown* object) {
  object->addRef();
  return object->release();
}

}  // namespace

// One audio effect (with its sub-categories, vendor and version) and its controller.
TEST(Vst3Module, FactoryDescribesOneAudioEffectAndItsController) {
  IPluginFactory* f = Factory();
  ASSERT_NE(f, nullptr) << TLoadedModule::Get().error;
  PFactoryInfo info{};
  ASSERT_EQ(f->getFactoryInfo(&info), kResultOk);
  EXPECT_STREQ(info.vendor, "Quellmark");
  EXPECT_STREQ(info.url, "https://www.quellmark.example");
  EXPECT_EQ(info.flags, PFactoryInfo::kUnicode);
  ASSERT_EQ(f->countClasses(), 2);

  void* obj = nullptr;
  ASSERT_EQ(f->queryInterface(IPluginFactory3::iid.bytes, &obj), kResultOk);
  auto* f3 = static_cast<IPluginFactory3*>(obj);
  const char* categories[2] = {"Audio Module Class", "Component Controller Class"};
  const char* names[2] = {"Soravel", "Soravel Controller"};
  for (int32 i = 0; i < 2; ++i) {
    PClassInfo2 c{};
    ASSERT_EQ(f3->getClassInfo2(i, &c), kResultOk);
    EXPECT_STREQ(c.category, categories[i]);
    EXPECT_STREQ(c.name, names[i]);
    EXPECT_STREQ(c.subCategories, i == 0 ? "Fx|Reverb" : "");
    EXPECT_STREQ(c.vendor, "Quellmark");
    EXPECT_STREQ(c.version, SORAVEL_VERSION_TEXT);
    EXPECT_EQ(c.cardinality, PClassInfo::kManyInstances);
    PClassInfoW w{};
    ASSERT_EQ(f3->getClassInfoUnicode(i, &w), kResultOk);
    EXPECT_EQ(std::memcmp(w.cid, c.cid, 16), 0);
    EXPECT_EQ(Text16(w.vendor), u"Quellmark");
    if (i == 0) {
      EXPECT_EQ(Text16(w.name), u"Soravel");
    }
  }
  PClassInfo c{};
  EXPECT_EQ(f3->getClassInfo(2, &c), kInvalidArgument);
  EXPECT_EQ(f3->getClassInfo(-1, &c), kInvalidArgument);
  EXPECT_EQ(f3->getClassInfo(0, nullptr), kInvalidArgument);
  f3->release();
}

// 'VST'/'VSE', the VST 2.x unique ID 'QMNL', "soravel": pinned, they never change.
TEST(Vst3Module, ClassIdsNeverChange) {
  ASSERT_NE(Factory(), nullptr);
  EXPECT_EQ(Printed(ClassId(0)), "565354514D4E4C736F726176656C0000");
  EXPECT_EQ(Printed(ClassId(1)), "565345514D4E4C736F726176656C0000");
  TPlugin p;
  ASSERT_TRUE(p.Ok());
  TUID controller{};
  ASSERT_EQ(p.component->getControllerClassId(controller.bytes), kResultOk);
  EXPECT_EQ(Printed(controller), Printed(ClassId(1)));
}

#ifdef _WIN32
// Windows hosts compare identifiers as COM GUIDs: ours are laid out as the
// compiler lays out a GUID.
TEST(Vst3Module, IdentifiersAreLaidOutAsWindowsGuids) {
  const GUID g = {0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};
  const TUID u = MakeUid(0xec5ec8a9, 0xc3954314, 0x9c7754d7, 0xa935ff70);
  EXPECT_EQ(std::memcmp(&g, u.bytes, 16), 0);
  EXPECT_EQ(std::memcmp(&IID_IUnknown, FUnknown::iid.bytes, 16), 0);
}
#endif

// Each object answers exactly what it implements, each time with one more
// reference, one identity for FUnknown, and goes with its last reference.
TEST(Vst3Refs, ObjectsAnswerWhatTheyImplement) {
  IPluginFactory* f = Factory();
  ASSERT_NE(f, nullptr);
  void* obj = nullptr;
  ASSERT_EQ(f->createInstance(ClassId(0).bytes, IComponent::iid.bytes, &obj), kResultOk);
  auto* component = static_cast<IComponent*>(obj);
  EXPECT_EQ(Count(component), 1u);
  for (const TUID* iid : {&FUnknown::iid, &IPluginBase::iid, &IComponent::iid, &IAudioProcessor::iid,
                          &IConnectionPoint::iid})
    EXPECT_TRUE(Answers(component, *iid));
  for (const TUID* iid : {&IEditController::iid, &IUnitInfo::iid, &IPlugView::iid, &IPluginFactory::iid,
                          &IBStream::iid, &IRunLoop::iid})
    EXPECT_FALSE(Answers(component, *iid));
  EXPECT_EQ(Count(component), 1u) << "every answer's reference was given back";
  void* a = nullptr;
  void* b = nullptr;
  ASSERT_EQ(component->queryInterface(IAudioProcessor::iid.bytes, &obj), kResultOk);
  auto* processor = static_cast<IAudioProcessor*>(obj);
  component->queryInterface(FUnknown::iid.bytes, &a);
  processor->queryInterface(FUnknown::iid.bytes, &b);
  EXPECT_EQ(a, b) << "one FUnknown whichever interface is asked";
  static_cast<FUnknown*>(a)->release();
  static_cast<FUnknown*>(b)->release();
  EXPECT_EQ(processor->release(), 1u);
  EXPECT_EQ(component->queryInterface(nullptr, &obj), kNoInterface);
  EXPECT_EQ(component->release(), 0u);

  ASSERT_EQ(f->createInstance(ClassId(1).bytes, IEditController::iid.bytes, &obj), kResultOk);
  auto* controller = static_cast<IEditController*>(obj);
  for (const TUID* iid : {&FUnknown::iid, &IPluginBase::iid, &IEditController::iid, &IUnitInfo::iid,
                          &IConnectionPoint::iid})
    EXPECT_TRUE(Answers(controller, *iid));
  for (const TUID* iid : {&IComponent::iid, &IAudioProcessor::iid, &IPlugView::iid})
    EXPECT_FALSE(Answers(controller, *iid));
  EXPECT_EQ(controller->release(), 0u);

  // A class asked for an interface it lacks makes nothing; an unknown class neither.
  obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(f->createInstance(ClassId(0).bytes, IEditController::iid.bytes, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  const TUID unknown = MakeUid(1, 2, 3, 4);
  EXPECT_EQ(f->createInstance(unknown.bytes, FUnknown::iid.bytes, &obj), kNoInterface);
  EXPECT_EQ(f->createInstance(nullptr, FUnknown::iid.bytes, &obj), kInvalidArgument);
}

// The host's objects are given back (context, handler, streams, queues, frame, run
// loop registrations); a view holds its controller, which lives on after the
// host's last reference until the view goes.
TEST(Vst3Refs, HostObjectsAreGivenBackAndAViewHoldsItsController) {
  TRunLoop context;
  THandler handler;
  TFrame frame;
  {
    TPlugin p(&context, &handler);
    ASSERT_TRUE(p.Ok());
    ASSERT_TRUE(p.Start());
    float l[64] = {}, r[64] = {};
    TChanges in, out;
    in.Add(kSize, 10, 0.3);
    in.Add(kProgramChangeId, 20, 5.0 / 15.0);
    EXPECT_EQ(p.Process(l, r, l, r, 64, &in, &out), kResultOk);
    EXPECT_EQ(out.getParameterCount(), 18);
    TStream s(p.State());
    EXPECT_EQ(p.component->setState(&s), kResultOk);
    s.at = 0;
    EXPECT_EQ(p.controller->setComponentState(&s), kResultOk);
    EXPECT_TRUE(s.Balanced() && in.Balanced() && out.Balanced());
    for (const TQueue& q : in.queues) EXPECT_TRUE(q.Balanced());
    for (const TQueue& q : out.queues) EXPECT_TRUE(q.Balanced());

  }
  {
    void* obj = nullptr;
    ASSERT_EQ(Factory()->createInstance(ClassId(1).bytes, IEditController::iid.bytes, &obj), kResultOk);
    auto* controller = static_cast<IEditController*>(obj);
    controller->initialize(&context);
    controller->setComponentHandler(&handler);
    IPlugView* view = controller->createView(kViewTypeEditor);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Count(controller), 2u);
    EXPECT_EQ(controller->createView("another"), nullptr);
    EXPECT_EQ(view->setFrame(&frame), kResultOk);
    // The host lets the controller go first: the view keeps it.
    controller->setComponentHandler(nullptr);
    controller->terminate();
    EXPECT_EQ(controller->release(), 1u);
    ViewRect size{};
    EXPECT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.right, 773);
    EXPECT_EQ(view->release(), 0u);
  }
  EXPECT_TRUE(context.Balanced()) << context.Refs();
  EXPECT_EQ(context.Registered(), 0u) << "the controller's tick left the run loop";
  EXPECT_TRUE(handler.Balanced()) << handler.Refs();
  EXPECT_TRUE(frame.Balanced()) << frame.Refs();
}

}  // namespace vst3test
