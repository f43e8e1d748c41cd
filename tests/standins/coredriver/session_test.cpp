// The core driver stand-in's session without a printer: option items, the callback table, the
// devmode, and zqoemui.dll bound behind the recording plug-in.
#include <gtest/gtest.h>

#include <cstring>

#include "hosttest.h"
#include "testsupport.h"
#include "zqhostdm.h"
#include "zqsession.h"

namespace {

using zqhosttest::FindItem;
using zqhosttest::RecorderLog;
using zqhosttest::ScopedEnv;

class HostSession : public ::testing::Test {
protected:
    void SetUp() override {
        m_model = zqhosttest::LoadModel(L"hostdata\\zqrec.zqm");
        m_doc.VUseModel(m_model, L"Test Printer");
        ASSERT_TRUE(m_doc.BBuildItems(0));
    }
    POPTITEM Item(const char* keyword) { return FindItem(m_doc.Items(), m_doc.ItemCount(), keyword); }
    POEMUIPROCS Procs() { return m_doc.UIObject()->pOemUIProcs; }

    // DrvGetDriverSetting into a text; empty and the last error kept on failure.
    std::string Setting(const char* feature, BOOL* ok = nullptr) {
        char buf[260] = {};
        DWORD needed = 0, count = 0;
        SetLastError(0);
        BOOL r = Procs()->DrvGetDriverSetting(m_doc.UIObject(), feature, buf, sizeof buf, &needed, &count);
        if (ok) *ok = r;
        return r ? std::string(buf) : std::string();
    }
    BOOL Report(POPTITEM item, DWORD previous) {
        return Procs()->DrvUpdateUISetting(m_doc.UIObject(), item, previous, OEMCUIP_DOCPROP);
    }

    zqmodel::Model m_model;
    CZQHostSession m_doc{OEMCUIP_DOCPROP};
};

TEST_F(HostSession, ItemsCarryTheFeatureKeywordPublicIdAndOptions) {
    // Features of the document with an item; Collate lives in the copies item, ZQTestValue has none.
    EXPECT_EQ(9u, m_doc.DriverItemCount());
    EXPECT_EQ(0u, m_doc.OemItemCount());
    EXPECT_EQ(nullptr, Item("Collate"));
    EXPECT_EQ(nullptr, Item("ZQTestValue"));
    EXPECT_EQ(nullptr, Item("DuplexUnit")) << "device features are not in the document's items";

    POPTITEM paper = Item("PaperSize");
    ASSERT_NE(nullptr, paper);
    EXPECT_EQ(sizeof(OPTITEM), paper->cbSize);
    EXPECT_EQ(DMPUB_FORMNAME, paper->DMPubID);
    EXPECT_STREQ(L"Paper Size", paper->pName);
    ASSERT_NE(nullptr, paper->pOptType);
    EXPECT_EQ(TVOT_LISTBOX, paper->pOptType->Type);
    ASSERT_EQ(3, paper->pOptType->Count);
    EXPECT_STREQ(L"A4", paper->pOptType->pOptParam[1].pData);
    EXPECT_EQ(OPTPF_HIDE, paper->pOptType->pOptParam[2].Flags);
    EXPECT_EQ(0, paper->Sel);
    auto* ud = reinterpret_cast<const USERDATA*>(paper->UserData);
    EXPECT_EQ(sizeof(USERDATA), ud->dwSize);

    POPTITEM bin = Item("InputBin");
    ASSERT_NE(nullptr, bin);
    EXPECT_TRUE(IS_INTRESOURCE(bin->pOptType->pOptParam[0].pData)) << "a resource-id name stays an id";
    EXPECT_EQ(64718u, reinterpret_cast<ULONG_PTR>(bin->pOptType->pOptParam[0].pData));
    EXPECT_EQ(L"Automatically Select", m_doc.ParamText(static_cast<DWORD>(bin - m_doc.Items()), bin->pOptType->pOptParam[0]));

    POPTITEM copies = Item("Copies");
    ASSERT_NE(nullptr, copies);
    EXPECT_EQ(TVOT_UDARROW, copies->pOptType->Type);
    EXPECT_EQ(1u, copies->pOptType->pOptParam[1].IconID);
    EXPECT_EQ(99, copies->pOptType->pOptParam[1].lParam);
    EXPECT_EQ(2, copies->Sel);
    ASSERT_NE(nullptr, copies->pExtChkBox);
    EXPECT_FALSE(copies->Flags & OPTIF_ECB_CHECKED);

    POPTITEM note = Item("ZQNote");
    ASSERT_NE(nullptr, note);
    EXPECT_EQ(TVOT_EDITBOX, note->pOptType->Type);
    EXPECT_STREQ(L"hello", note->pSel);
    EXPECT_EQ(21u, note->pOptType->pOptParam[1].IconID);
    EXPECT_TRUE(Item("ZQLocked")->Flags & OPTIF_DISABLED);
    EXPECT_TRUE(Item("ZQConcealed")->Flags & OPTIF_HIDE);

    CZQHostSession device(OEMCUIP_PRNPROP);
    device.VUseModel(m_model, L"Test Printer");
    ASSERT_TRUE(device.BBuildItems(0));
    EXPECT_EQ(2u, device.DriverItemCount());
    EXPECT_NE(nullptr, FindItem(device.Items(), device.ItemCount(), "DuplexUnit"));
}

TEST_F(HostSession, DriverSettingAnswersTheItemsSelectionAtOnce) {
    DWORD needed = 0, count = 7;
    SetLastError(0);
    EXPECT_FALSE(Procs()->DrvGetDriverSetting(m_doc.UIObject(), "Orientation", nullptr, 0, &needed, &count));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
    EXPECT_EQ(sizeof("PORTRAIT"), needed);
    EXPECT_EQ(0u, count);
    char small[4] = {'#', '#', '#', '#'};
    EXPECT_FALSE(Procs()->DrvGetDriverSetting(m_doc.UIObject(), "Orientation", small, sizeof small, &needed, &count));
    EXPECT_EQ('#', small[0]) << "a short buffer is not written";

    char buf[32] = {};
    EXPECT_TRUE(Procs()->DrvGetDriverSetting(m_doc.UIObject(), "orientation", buf, sizeof buf, &needed, &count));
    EXPECT_STREQ("PORTRAIT", buf);
    EXPECT_EQ(1u, count);

    // The access layer selects options one by one and reads them back before reporting.
    Item("Orientation")->Sel = 1;
    EXPECT_EQ("LANDSCAPE_CC90", Setting("Orientation"));
    Item("Copies")->Sel = 5;
    EXPECT_EQ("5", Setting("Copies"));
    lstrcpyW(Item("ZQNote")->pSel, L"bye");
    EXPECT_EQ("bye", Setting("ZQNote"));
    Item("Copies")->Flags |= OPTIF_ECB_CHECKED;
    EXPECT_EQ("ON", Setting("Collate")) << "the copies item's check box is the collate feature";

    // Features without an item of this sheet answer their value.
    EXPECT_EQ("VALUE1", Setting("ZQTestValue"));
    EXPECT_EQ("INSTALLED", Setting("DuplexUnit"));

    // The published interface answers the same.
    IPrintOemDriverUI* ui = m_doc.DriverUI();
    ASSERT_NE(nullptr, ui);
    EXPECT_EQ(S_OK, ui->lpVtbl->DrvGetDriverSetting(ui, m_doc.UIObject(), "MediaType", buf, sizeof buf, &needed, &count));
    EXPECT_STREQ("PLAIN", buf);
}

TEST_F(HostSession, UnknownAndUnreadableFeaturesFailWithTheirErrors) {
    BOOL ok = TRUE;
    EXPECT_EQ("", Setting("NoSuchFeature", &ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
    char buf[32] = {};
    DWORD needed = 0, count = 0;
    EXPECT_EQ(E_FAIL, m_doc.DriverUI()->lpVtbl->DrvGetDriverSetting(m_doc.DriverUI(), m_doc.UIObject(), "NoSuchFeature", buf, sizeof buf, &needed, &count));
    EXPECT_EQ(E_FAIL, m_doc.DriverUI()->lpVtbl->DrvUpgradeRegistrySetting(m_doc.DriverUI(), nullptr, "DuplexUnit", "INSTALLED"));

    Setting(nullptr, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
    Setting(MAKEINTRESOURCEA(1), &ok);
    EXPECT_FALSE(ok) << "numbered settings are not kept";
    EXPECT_EQ(ERROR_NOT_SUPPORTED, GetLastError());

    OEMUIOBJ stranger = {sizeof stranger, m_doc.UIObject()->pOemUIProcs};
    SetLastError(0);
    EXPECT_FALSE(Procs()->DrvGetDriverSetting(&stranger, "Orientation", buf, sizeof buf, &needed, &count));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());

    Item("PaperSize")->Sel = 7;
    Setting("PaperSize", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
    Item("Copies")->Sel = 500;
    Setting("Copies", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
}

TEST_F(HostSession, UpdateUISettingCommitsAndMarksConflicts) {
    POPTITEM media = Item("MediaType");
    POPTITEM duplex = Item("Duplex");
    for (int o = 0; o < 3; ++o) EXPECT_FALSE(duplex->pOptType->pOptParam[o].Flags & OPTPF_OVERLAY_WARNING_ICON);
    duplex->Flags &= ~OPTIF_CHANGED;

    media->Sel = 1;
    EXPECT_TRUE(Report(media, 0));
    EXPECT_EQ(2u, m_doc.PublicDevmode().dmMediaType);
    EXPECT_FALSE(duplex->pOptType->pOptParam[0].Flags & OPTPF_OVERLAY_WARNING_ICON);
    EXPECT_TRUE(duplex->pOptType->pOptParam[1].Flags & OPTPF_OVERLAY_WARNING_ICON);
    EXPECT_TRUE(duplex->pOptType->pOptParam[2].Flags & OPTPF_OVERLAY_WARNING_ICON);
    EXPECT_TRUE(duplex->Flags & OPTIF_CHANGED) << "an item whose marks changed is marked changed";
    EXPECT_FALSE(duplex->Flags & OPTIF_OVERLAY_WARNING_ICON);

    duplex->Sel = 2;
    EXPECT_TRUE(Report(duplex, 0));
    EXPECT_TRUE(duplex->Flags & OPTIF_OVERLAY_WARNING_ICON) << "the selected option conflicts";
    ASSERT_FALSE(m_doc.UpdateLog().empty());
    const ZQUpdateRecord& rec = m_doc.UpdateLog().back();
    EXPECT_EQ("Duplex", rec.keyword);
    EXPECT_EQ(DMPUB_DUPLEX, rec.pubId);
    EXPECT_EQ(2, rec.sel);
    EXPECT_EQ(0u, rec.previous);
    EXPECT_EQ(DWORD(OEMCUIP_DOCPROP), rec.mode);
    EXPECT_TRUE(rec.overlay);

    media->Sel = 0;
    EXPECT_TRUE(Report(media, 1));
    for (int o = 0; o < 3; ++o) EXPECT_FALSE(duplex->pOptType->pOptParam[o].Flags & OPTPF_OVERLAY_WARNING_ICON);
    EXPECT_FALSE(duplex->Flags & OPTIF_OVERLAY_WARNING_ICON);

    // A printer-sticky value constrains a document option too.
    ASSERT_TRUE(m_doc.BSetValueText(m_model.FindFeature("DuplexUnit"), "NOTINSTALLED"));
    EXPECT_TRUE(Report(media, 0));
    EXPECT_TRUE(duplex->pOptType->pOptParam[1].Flags & OPTPF_OVERLAY_WARNING_ICON);
    EXPECT_FALSE(duplex->pOptType->pOptParam[2].Flags & OPTPF_OVERLAY_WARNING_ICON);
}

TEST_F(HostSession, UpdateUISettingRefusesForeignItemsAndBadSelections) {
    OPTITEM foreign = *Item("Orientation");
    SetLastError(0);
    EXPECT_FALSE(Report(&foreign, 0));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
    EXPECT_FALSE(Report(reinterpret_cast<POPTITEM>(reinterpret_cast<BYTE*>(Item("Orientation")) + 4), 0));
    EXPECT_FALSE(Report(nullptr, 0));
    EXPECT_FALSE(Report(m_doc.Items() + m_doc.ItemCount(), 0)) << "one past the last item";

    POPTITEM paper = Item("PaperSize");
    paper->Sel = 1;
    EXPECT_TRUE(Report(paper, 0));
    paper->Sel = 99;
    SetLastError(0);
    EXPECT_FALSE(Report(paper, 1));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
    EXPECT_EQ(1, paper->Sel) << "the committed selection comes back";
    EXPECT_EQ("A4", Setting("PaperSize"));

    POPTITEM copies = Item("Copies");
    copies->Sel = 0;
    EXPECT_FALSE(Report(copies, 2));
    EXPECT_EQ(2, copies->Sel);
}

TEST_F(HostSession, PublicDevmodeFollowsTheValues) {
    POPTITEM paper = Item("PaperSize");
    paper->Sel = 1;
    ASSERT_TRUE(Report(paper, 0));
    POPTITEM copies = Item("Copies");
    copies->Sel = 5;
    copies->Flags |= OPTIF_ECB_CHECKED;
    ASSERT_TRUE(Report(copies, 2));
    const DEVMODEW& dm = m_doc.PublicDevmode();
    EXPECT_EQ(DMPAPER_A4, dm.dmPaperSize);
    EXPECT_EQ(2100, dm.dmPaperWidth);
    EXPECT_EQ(2970, dm.dmPaperLength);
    EXPECT_STREQ(L"A4", dm.dmFormName);
    EXPECT_EQ(5, dm.dmCopies);
    EXPECT_EQ(DMCOLLATE_TRUE, dm.dmCollate);
    const DWORD fields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH | DM_FORMNAME | DM_COPIES | DM_COLLATE |
                         DM_ORIENTATION | DM_DEFAULTSOURCE | DM_DUPLEX | DM_MEDIATYPE;
    EXPECT_EQ(fields, dm.dmFields & fields);
    EXPECT_STREQ(L"Test Printer", dm.dmDeviceName);
}

std::vector<BYTE> Written(const CZQHostSession& s) {
    std::vector<BYTE> buf(s.DWDevmodeSize());
    EXPECT_TRUE(s.BWriteDevmode(reinterpret_cast<DEVMODEW*>(buf.data())));
    return buf;
}

TEST_F(HostSession, DevmodeCarriesTheSelectionsAndPublicFieldsWin) {
    Item("PaperSize")->Sel = 1;
    Item("Orientation")->Sel = 1;
    Item("Copies")->Sel = 7;
    lstrcpyW(Item("ZQNote")->pSel, L"abc");
    for (const char* k : {"PaperSize", "Orientation", "Copies", "ZQNote"}) ASSERT_TRUE(Report(Item(k), 0));
    std::vector<BYTE> buf = Written(m_doc);
    auto* dm = reinterpret_cast<DEVMODEW*>(buf.data());
    EXPECT_EQ(sizeof(DEVMODEW), dm->dmSize);
    EXPECT_EQ(zqhostdm::kPrivateSize, dm->dmDriverExtra) << "no plug-in block without a plug-in";

    CZQHostSession back(OEMCUIP_DOCPROP);
    back.VUseModel(m_model, L"Test Printer");
    ASSERT_TRUE(back.BLoadDevmode(dm, buf.size()));
    for (const char* k : {"PaperSize", "Orientation", "Copies", "ZQNote", "MediaType"}) {
        const int f = m_model.FindFeature(k);
        EXPECT_EQ(m_doc.ValueText(f), back.ValueText(f)) << k;
    }

    // An application changes only public fields: they win over the private selections.
    dm->dmOrientation = DMORIENT_PORTRAIT;
    dm->dmPaperSize = DMPAPER_LETTER;
    CZQHostSession app(OEMCUIP_DOCPROP);
    app.VUseModel(m_model, L"Test Printer");
    ASSERT_TRUE(app.BLoadDevmode(dm, buf.size()));
    EXPECT_EQ("PORTRAIT", app.ValueText(m_model.FindFeature("Orientation")));
    EXPECT_EQ("LETTER", app.ValueText(m_model.FindFeature("PaperSize")));
    EXPECT_EQ("7", app.ValueText(m_model.FindFeature("Copies")));
}

TEST_F(HostSession, ForeignAndDamagedDevmodesGiveDefaults) {
    // Another driver's devmode: only its public fields count.
    DEVMODEW other = {};
    other.dmSize = sizeof other;
    other.dmDriverExtra = 0;
    other.dmFields = DM_PAPERSIZE | DM_COPIES | DM_DUPLEX;
    other.dmPaperSize = DMPAPER_A4;
    other.dmCopies = 1000;
    other.dmDuplex = 42;
    CZQHostSession s(OEMCUIP_DOCPROP);
    s.VUseModel(m_model, L"Test Printer");
    ASSERT_TRUE(s.BLoadDevmode(&other, sizeof other));
    EXPECT_EQ("A4", s.ValueText(m_model.FindFeature("PaperSize")));
    EXPECT_EQ("99", s.ValueText(m_model.FindFeature("Copies"))) << "clamped into the range";
    EXPECT_EQ("NONE", s.ValueText(m_model.FindFeature("Duplex"))) << "an unknown id keeps the default";

    // A devmode whose driver extra claims more than the bytes present.
    std::vector<BYTE> buf = Written(m_doc);
    auto* dm = reinterpret_cast<DEVMODEW*>(buf.data());
    dm->dmDriverExtra = 0xFFFF;
    CZQHostSession cut(OEMCUIP_DOCPROP);
    cut.VUseModel(m_model, L"Test Printer");
    EXPECT_TRUE(cut.BLoadDevmode(dm, sizeof(DEVMODEW) + 100));
    EXPECT_EQ("LETTER", cut.ValueText(m_model.FindFeature("PaperSize")));

    // Stored selections of features or options the model does not have are passed over.
    zqhostdm::HostPrivate hp;
    zqhostdm::WritePrivate(hp, 0, {{"Gone", "X"}, {"PaperSize", "B9"}, {"MediaType", "TRANSPARENCY"}, {"Copies", "x"}});
    std::vector<BYTE> mixed(sizeof(DEVMODEW) + sizeof hp);
    DEVMODEW pub = {};
    pub.dmSize = sizeof pub;
    pub.dmDriverExtra = sizeof hp;
    std::memcpy(mixed.data(), &pub, sizeof pub);
    std::memcpy(mixed.data() + sizeof pub, &hp, sizeof hp);
    CZQHostSession m(OEMCUIP_DOCPROP);
    m.VUseModel(m_model, L"Test Printer");
    ASSERT_TRUE(m.BLoadDevmode(reinterpret_cast<DEVMODEW*>(mixed.data()), mixed.size()));
    EXPECT_EQ("LETTER", m.ValueText(m_model.FindFeature("PaperSize")));
    EXPECT_EQ("TRANSPARENCY", m.ValueText(m_model.FindFeature("MediaType")));
    EXPECT_EQ("2", m.ValueText(m_model.FindFeature("Copies")));
}

// ---- zqoemui.dll behind the recording plug-in, bound by a session without a printer

class HostSessionPlugin : public ::testing::Test {
protected:
    void SetUp() override { m_model = zqhosttest::LoadModel(L"hostdata\\zqrec.zqm"); }
    // A document session bound to the recorder beside the test.
    std::unique_ptr<CZQHostSession> Bound() {
        auto s = std::make_unique<CZQHostSession>(OEMCUIP_DOCPROP);
        s->VUseModel(m_model, L"Test Printer");
        s->VSetDriverDir(zqtest::ExeDir());
        EXPECT_TRUE(s->BBindPlugin());
        return s;
    }
    zqmodel::Model m_model;
    RecorderLog m_log;
};

TEST_F(HostSessionPlugin, CallsComeInTheCoreDriversOrder) {
    std::vector<BYTE> stored;
    {
        // The recorder's own item makes the count pass ask for a fill pass whatever zqoemui.dll answers.
        ScopedEnv item("ZQREC_ITEM", "1");
        auto s = Bound();
        ASSERT_TRUE(s->BLoadDevmode(nullptr, 0, false));
        ASSERT_TRUE(s->BBuildItems(0));
        EXPECT_EQ((std::vector<std::string>{"PublishDriverInterface", "GetInfo(1)", "GetInfo(3)", "DevMode(SIZE)",
                                            "DevMode(DEFAULT)", "CommonUIProp(1,count,9)", "CommonUIProp(1,fill,9)"}),
                  m_log.Lines());
        ASSERT_EQ(6512u, s->OemBlock().size());
        OEM_DMEXTRAHEADER h;
        std::memcpy(&h, s->OemBlock().data(), sizeof h);
        EXPECT_EQ(0x5A515549u, h.dwSignature);
        EXPECT_EQ(s->CommonUIParam().pOEMDM, s->OemBlock().data());
        EXPECT_EQ(sizeof(DEVMODEW) + zqhostdm::kPrivateSize + 6512, s->DWDevmodeSize());
        stored = Written(*s);
    }
    EXPECT_EQ("Release", m_log.Lines().back());

    // A devmode with the plug-in's current block is merged, another version converted.
    m_log.Clear();
    {
        auto s = Bound();
        ASSERT_TRUE(s->BLoadDevmode(reinterpret_cast<DEVMODEW*>(stored.data()), stored.size()));
    }
    EXPECT_TRUE(m_log.Contains("DevMode(MERGE)"));
    OEM_DMEXTRAHEADER* block = reinterpret_cast<OEM_DMEXTRAHEADER*>(stored.data() + sizeof(DEVMODEW) + zqhostdm::kPrivateSize);
    block->dwVersion = 0x00100000;
    m_log.Clear();
    {
        auto s = Bound();
        ASSERT_TRUE(s->BLoadDevmode(reinterpret_cast<DEVMODEW*>(stored.data()), stored.size()));
    }
    EXPECT_TRUE(m_log.Contains("DevMode(CONVERT)"));
    EXPECT_FALSE(m_log.Contains("DevMode(MERGE)"));
}

TEST_F(HostSessionPlugin, APluginFailingDevModeLeavesTheHostItsOwnItems) {
    ScopedEnv fail("ZQREC_FAIL", "DevMode");
    auto s = Bound();
    ASSERT_TRUE(s->BLoadDevmode(nullptr, 0, false));
    EXPECT_FALSE(s->HasPlugin());
    EXPECT_TRUE(s->OemBlock().empty());
    EXPECT_EQ(sizeof(DEVMODEW) + zqhostdm::kPrivateSize, s->DWDevmodeSize());
    ASSERT_TRUE(s->BBuildItems(0));
    EXPECT_EQ(9u, s->ItemCount());
    EXPECT_EQ((std::vector<std::string>{"PublishDriverInterface", "GetInfo(1)", "GetInfo(3)", "DevMode(SIZE)", "Release"}),
              m_log.Lines());
}

TEST_F(HostSessionPlugin, APluginFailingCommonUIPropAddsNoItems) {
    ScopedEnv fail("ZQREC_FAIL", "CommonUIProp");
    ScopedEnv item("ZQREC_ITEM", "1");
    auto s = Bound();
    ASSERT_TRUE(s->BLoadDevmode(nullptr, 0, false));
    ASSERT_TRUE(s->BBuildItems(0));
    EXPECT_TRUE(s->HasPlugin());
    EXPECT_EQ(0u, s->OemItemCount());
    EXPECT_EQ(nullptr, s->CommonUIParam().pOEMOptItems);
    EXPECT_EQ(9u, s->ItemCount());
    EXPECT_EQ("CommonUIProp(1,count,9)", m_log.Lines().back()) << "no fill pass after a failed count pass";
}

TEST_F(HostSessionPlugin, OwnItemsFollowTheDriversAndReachTheirCallback) {
    ScopedEnv item("ZQREC_ITEM", "1");
    auto s = Bound();
    ASSERT_TRUE(s->BLoadDevmode(nullptr, 0, false));
    ASSERT_TRUE(s->BBuildItems(0));
    ASSERT_EQ(4u, s->OemItemCount()) << "zqoemui.dll's three layout items, then the recorder's";
    EXPECT_EQ(s->Items() + s->DriverItemCount(), s->CommonUIParam().pOEMOptItems);
    const DWORD own = s->DriverItemCount() + 3;
    EXPECT_STREQ(L"Recorder Item", s->Items()[own].pName);
    EXPECT_EQ(L"First", s->ItemValueText(own));

    s->Items()[own].Sel = 1;
    s->LItemChanged(own, 0, CPSUICB_REASON_SEL_CHANGED, nullptr);
    EXPECT_TRUE(m_log.Contains("Callback(0,Recorder Item,1)"));
    // The host does not keep the plug-in's own values; a report is accepted as it is.
    POEMUIOBJ obj = s->UIObject();
    EXPECT_TRUE(obj->pOemUIProcs->DrvUpdateUISetting(obj, &s->Items()[own], 0, OEMCUIP_DOCPROP));
    // A change of a core item reaches the callback as well.
    POPTITEM paper = FindItem(s->Items(), s->ItemCount(), "PaperSize");
    paper->Sel = 1;
    s->LItemChanged(static_cast<DWORD>(paper - s->Items()), 0, CPSUICB_REASON_SEL_CHANGED, nullptr);
    EXPECT_TRUE(m_log.Contains("Callback(0,Paper Size,1)"));
    EXPECT_EQ("A4", s->ValueText(m_model.FindFeature("PaperSize")));
}

TEST_F(HostSessionPlugin, AFillPassClaimingMoreItemsThanCountedIsLeftOut) {
    ScopedEnv item("ZQREC_ITEM", "1");
    ScopedEnv grow("ZQREC_GROW", "1");
    auto s = Bound();
    ASSERT_TRUE(s->BLoadDevmode(nullptr, 0, false));
    ASSERT_TRUE(s->BBuildItems(0));
    EXPECT_EQ(0u, s->OemItemCount());
    EXPECT_EQ(nullptr, s->CommonUIParam().pOEMOptItems);
    EXPECT_EQ(0u, s->CommonUIParam().cOEMOptItems);
    EXPECT_EQ(9u, s->ItemCount());
}

TEST_F(HostSessionPlugin, ZqoemuiCountsItsItemsAndFillsThem) {
    auto s = Bound();
    ASSERT_TRUE(s->BLoadDevmode(nullptr, 0, false));
    ASSERT_TRUE(s->BBuildItems(0));
    const std::vector<std::string> lines = m_log.Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ("CommonUIProp(1,count,9)", lines[lines.size() - 2]);
    EXPECT_EQ("CommonUIProp(1,fill,9)", lines.back());
    ASSERT_EQ(3u, s->OemItemCount());
    const char* keywords[] = {"ZQLayoutOptions", "ZQOrientationCopy", "ZQPageOrderCopy"};
    for (DWORD i = 0; i < 3; ++i) {
        const OPTITEM& it = s->CommonUIParam().pOEMOptItems[i];
        auto* ud = reinterpret_cast<const USERDATA*>(it.UserData);
        ASSERT_NE(nullptr, ud);
        EXPECT_STREQ(keywords[i], ud->pKeyWordName);
    }
    EXPECT_NE(nullptr, s->CommonUIParam().OEMCUIPCallback);
}

TEST_F(HostSessionPlugin, ThePluginReadsAndSetsFeaturesThroughTheCallbackTable) {
    ScopedEnv item("ZQREC_ITEM", "1");
    ScopedEnv probe("ZQREC_PROBE", "Orientation,ZQTestValue,NoSuchFeature");
    ScopedEnv trip("ZQREC_ROUNDTRIP", "Orientation");
    auto s = Bound();
    ASSERT_TRUE(s->BLoadDevmode(nullptr, 0, false));
    ASSERT_TRUE(s->BBuildItems(0));
    EXPECT_TRUE(m_log.Contains("probe Orientation = PORTRAIT (size 9, probe error 122)"));
    EXPECT_TRUE(m_log.Contains("probe-com Orientation = PORTRAIT"));
    EXPECT_TRUE(m_log.Contains("probe ZQTestValue = VALUE1 (size 7, probe error 122)"));
    EXPECT_TRUE(m_log.Contains("probe NoSuchFeature failed 87"));
    EXPECT_TRUE(m_log.Contains("probe-com NoSuchFeature hr=0x80004005"));
    EXPECT_TRUE(m_log.Contains("roundtrip Orientation PORTRAIT -> LANDSCAPE_CC90 update=1 restored=PORTRAIT"));
}

}  // namespace
