// The IAccessible objects of the tab bar (form_accessible.h). Every object
// is one node of the tree, named by its kind, the control index of its tab
// and the tab's incarnation; each call first finds the node's element in
// the bar again and fails with CO_E_OBJNOTCONNECTED when it is gone. All
// calls arrive on the bar's thread: clients in other threads and processes
// reach the objects through COM's marshalling (LresultFromObject).
#include "win32/form_accessible.h"

#include <string>
#include <vector>

#include "win32/com_object.h"
#include "win32/form_window.h"

namespace plovera::win32 {

using host::Element;
using host::Part;

namespace {

enum class Kind : std::uint8_t { bar, tab, close_button, left_arrow, right_arrow };


BSTR to_bstr(std::u16string_view s) noexcept {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(s.data()), static_cast<UINT>(s.size()));
}

bool is_self(const VARIANT& v) noexcept { return v.vt == VT_I4 && v.lVal == CHILDID_SELF; }

class Node final : public DispatchObject<IAccessible>, public IEnumVARIANT {
 public:
  Node(std::shared_ptr<AccessibleLink> link, Kind kind, std::int16_t index,
       std::uint32_t incarnation) noexcept
      : link_(std::move(link)), kind_(kind), index_(index), incarnation_(incarnation) {}

  // IUnknown, for both interfaces: the containers also enumerate.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (iid != IID_IEnumVARIANT || !is_container()) return DispatchObject::QueryInterface(iid, out);
    if (!out) return E_POINTER;
    *out = static_cast<IEnumVARIANT*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return DispatchObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return DispatchObject::Release(); }

  // IDispatch without names: clients call IAccessible directly.
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) noexcept override {
    return E_NOTIMPL;
  }

  // IAccessible: calls naming a child are answered by that child.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) noexcept override {
    return guarded(out, [&](FormWindow& f) { return parent(f, out); });
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* out) noexcept override {
    return guarded(out, [&](FormWindow& f) {
      *out = child_count(f);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) noexcept override {
    return guarded(out, [&](FormWindow& f) -> HRESULT {
      if (child.vt != VT_I4) return E_INVALIDARG;
      Node* node = child_node(f, child.lVal);
      if (!node) return E_INVALIDARG;
      *out = static_cast<IAccessible*>(node);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) noexcept override {
    return on_node(child, out, [&](Node& n, FormWindow& f) { return n.name(f, out); });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) noexcept override {
    return on_node(child, out, [](Node&, FormWindow&) { return S_FALSE; });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) noexcept override {
    return on_node(child, out, [&](Node& n, FormWindow& f) { return n.description(f, out); });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) noexcept override {
    return on_node(child, out, [&](Node& n, FormWindow&) {
      out->vt = VT_I4;
      out->lVal = n.role();
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) noexcept override {
    return on_node(child, out, [&](Node& n, FormWindow& f) {
      out->vt = VT_I4;
      out->lVal = n.state(f);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) noexcept override {
    return on_node(child, out, [](Node&, FormWindow&) { return S_FALSE; });
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) noexcept override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return on_node(child, file, [](Node&, FormWindow&) { return S_FALSE; });
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) noexcept override {
    return on_node(child, out, [](Node&, FormWindow&) { return S_FALSE; });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) noexcept override {
    // The bar never takes the keyboard focus from Word's document.
    return guarded(out, [](FormWindow&) { return S_FALSE; });
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) noexcept override {
    return guarded(out, [&](FormWindow& f) { return selection(f, out); });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) noexcept override {
    return on_node(child, out, [&](Node& n, FormWindow& f) -> HRESULT {
      if (n.kind_ == Kind::bar) return S_FALSE;
      *out = to_bstr(f.text(n.kind_ == Kind::tab ? Text::action_switch : Text::action_press));
      return *out ? S_OK : E_OUTOFMEMORY;
    });
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) noexcept override {
    return on_node(child, static_cast<int*>(nullptr), [&](Node& n, FormWindow& f) -> HRESULT {
      if (n.kind_ != Kind::tab || !(flags & SELFLAG_TAKESELECTION)) return DISP_E_MEMBERNOTFOUND;
      return n.act(f);
    });
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) noexcept override {
    if (!x || !y || !w || !h) return E_POINTER;
    *x = *y = *w = *h = 0;
    return on_node(child, static_cast<int*>(nullptr), [&](Node& n, FormWindow& f) {
      const RECT r = n.location(f);
      *x = r.left, *y = r.top, *w = r.right - r.left, *h = r.bottom - r.top;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* out) noexcept override {
    return on_node(start, out, [&](Node& n, FormWindow& f) { return n.navigate(f, dir, out); });
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) noexcept override {
    return guarded(out, [&](FormWindow& f) { return hit_test(f, {x, y}, out); });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) noexcept override {
    return on_node(child, static_cast<int*>(nullptr), [](Node& n, FormWindow& f) { return n.act(f); });
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }

  // IEnumVARIANT (the bar and the tabs): the children as objects, in order.
  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* out, ULONG* fetched) noexcept override {
    if (fetched) *fetched = 0;
    if (!out) return E_POINTER;
    ULONG got = 0;
    const HRESULT hr = guarded(static_cast<int*>(nullptr), [&](FormWindow& f) -> HRESULT {
      const LONG count = child_count(f);
      while (got < wanted && static_cast<LONG>(cursor_) < count) {
        Node* node = child_node(f, static_cast<LONG>(++cursor_));
        if (!node) return E_OUTOFMEMORY;
        VariantInit(&out[got]);
        out[got].vt = VT_DISPATCH;
        out[got].pdispVal = static_cast<IAccessible*>(node);
        ++got;
      }
      return got == wanted ? S_OK : S_FALSE;
    });
    if (fetched) *fetched = got;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG n) noexcept override {
    return guarded(static_cast<int*>(nullptr), [&](FormWindow& f) -> HRESULT {
      const ULONG count = static_cast<ULONG>(child_count(f));
      cursor_ = cursor_ + n > count ? count : cursor_ + n;
      return cursor_ < count || n == 0 ? S_OK : S_FALSE;
    });
  }
  HRESULT STDMETHODCALLTYPE Reset() noexcept override {
    cursor_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    Node* copy = nullptr;
    if (failed(boundary_guard([&] { copy = make(kind_, index_, incarnation_); }))) return E_OUTOFMEMORY;
    copy->cursor_ = cursor_;
    *out = static_cast<IEnumVARIANT*>(copy);
    return S_OK;
  }

 private:
  bool answers(REFIID iid) const noexcept override { return iid == IID_IDispatch || iid == kIidAccessible; }
  bool is_container() const noexcept { return kind_ == Kind::bar || kind_ == Kind::tab; }
  Element tab_element(Part part) const noexcept { return {part, index_}; }

  // The bar, when this node's element is still there.
  FormWindow* live_form() const noexcept {
    FormWindow* f = link_->form;
    if (!f || !f->window()) return nullptr;
    if ((kind_ == Kind::tab || kind_ == Kind::close_button) && !f->tab_alive(index_, incarnation_))
      return nullptr;
    return f;
  }

  // Clears the out-parameter, finds the bar, runs `body`; nothing thrown
  // crosses into the client.
  template <class Out, class Body>
  HRESULT guarded(Out* out, Body&& body) noexcept {
    if constexpr (std::is_same_v<Out, VARIANT>) {
      if (!out) return E_POINTER;
      VariantInit(out);
    } else if constexpr (!std::is_same_v<Out, int>) {
      if (!out) return E_POINTER;
      *out = {};
    }
    FormWindow* f = live_form();
    if (!f) return CO_E_OBJNOTCONNECTED;
    HRESULT hr = E_FAIL;
    const status_t s = boundary_guard([&] { hr = body(*f); });
    return failed(s) ? s : hr;
  }

  // As guarded, for calls that take a child: the child answers.
  template <class Out, class Body>
  HRESULT on_node(const VARIANT& child, Out* out, Body&& body) noexcept {
    return guarded(out, [&](FormWindow& f) -> HRESULT {
      if (is_self(child)) return body(*this, f);
      if (child.vt != VT_I4) return E_INVALIDARG;
      ComPtr<IAccessible> other;
      *other.GetAddressOf() = static_cast<IAccessible*>(child_node(f, child.lVal));
      if (!other) return E_INVALIDARG;
      return body(*static_cast<Node*>(other.Get()), f);
    });
  }

  Node* make(Kind kind, std::int16_t index = 0, std::uint32_t incarnation = 0) const {
    return new Node(link_, kind, index, incarnation);
  }

  // The bar's children: the tabs left to right, then the arrows.
  static LONG child_count(FormWindow& f, Kind kind) {
    if (kind == Kind::bar) return static_cast<LONG>(f.tabs_in_order().size()) + 2;
    return kind == Kind::tab ? 1 : 0;
  }
  LONG child_count(FormWindow& f) const { return child_count(f, kind_); }

  // A new reference to the child with identifier `id` (a position from 1,
  // or an identifier from an event), or nullptr.
  Node* child_node(FormWindow& f, LONG id) const { return child_of(f, kind_, id); }
  // The same for a node of kind `kind` (the bar, or this node's own tab).
  Node* child_of(FormWindow& f, Kind kind, LONG id) const {
    if (kind == Kind::tab) return id == 1 ? make(Kind::close_button, index_, incarnation_) : nullptr;
    if (kind != Kind::bar || id <= 0) return nullptr;
    const auto tabs = f.tabs_in_order();
    const LONG n = static_cast<LONG>(tabs.size());
    if (id <= n) return make(Kind::tab, tabs[id - 1].index, tabs[id - 1].incarnation);
    if (id == n + 1 || id == kLeftArrowChildId) return make(Kind::left_arrow);
    if (id == n + 2 || id == kRightArrowChildId) return make(Kind::right_arrow);
    for (const auto& t : tabs) {
      if (id == tab_child_id(t.incarnation)) return make(Kind::tab, t.index, t.incarnation);
      if (id == tab_child_id(t.incarnation) + 1) return make(Kind::close_button, t.index, t.incarnation);
    }
    return nullptr;
  }

  // This node's position among its parent's children, from 1.
  LONG position(FormWindow& f) const {
    const auto tabs = f.tabs_in_order();
    const LONG n = static_cast<LONG>(tabs.size());
    if (kind_ == Kind::left_arrow) return n + 1;
    if (kind_ == Kind::right_arrow) return n + 2;
    if (kind_ == Kind::close_button) return 1;
    for (LONG i = 0; i < n; ++i)
      if (tabs[i].incarnation == incarnation_) return i + 1;
    return 0;
  }

  HRESULT parent(FormWindow& f, IDispatch** out) const {
    if (kind_ == Kind::bar)
      return AccessibleObjectFromWindow(f.window(), static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                        reinterpret_cast<void**>(out));
    Node* p = kind_ == Kind::close_button ? make(Kind::tab, index_, incarnation_) : make(Kind::bar);
    *out = static_cast<IAccessible*>(p);
    return S_OK;
  }

  const std::u16string& caption(FormWindow& f) const {
    static const std::u16string none;
    const ElementState* s = f.element_state(tab_element(Part::caption));
    return s ? s->caption : none;
  }

  HRESULT name(FormWindow& f, BSTR* out) const {
    switch (kind_) {
      case Kind::bar: *out = to_bstr(f.text(Text::tab_list_name)); break;
      case Kind::tab: *out = to_bstr(caption(f)); break;
      case Kind::close_button: *out = to_bstr(format(f.text(Text::close_named), caption(f))); break;
      case Kind::left_arrow: *out = to_bstr(f.text(Text::scroll_left)); break;
      case Kind::right_arrow: *out = to_bstr(f.text(Text::scroll_right)); break;
    }
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT description(FormWindow& f, BSTR* out) const {
    if (kind_ != Kind::tab) return S_FALSE;
    const ElementState* face = f.element_state(tab_element(Part::face));
    const Text pattern = face && face->unsaved ? Text::tab_position_unsaved : Text::tab_position;
    *out = to_bstr(format(f.text(pattern), decimal(position(f)),
                          decimal(static_cast<std::int64_t>(f.tabs_in_order().size()))));
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  LONG role() const noexcept {
    switch (kind_) {
      case Kind::bar: return ROLE_SYSTEM_PAGETABLIST;
      case Kind::tab: return ROLE_SYSTEM_PAGETAB;
      default: return ROLE_SYSTEM_PUSHBUTTON;
    }
  }

  Element element() const noexcept {
    switch (kind_) {
      case Kind::tab: return tab_element(Part::face);
      case Kind::close_button: return tab_element(Part::close_button);
      case Kind::left_arrow: return {Part::left_arrow, 0};
      case Kind::right_arrow: return {Part::right_arrow, 0};
      case Kind::bar: break;
    }
    return {Part::bar, 0};
  }

  bool shown(FormWindow& f) const {
    if (kind_ == Kind::bar) return IsWindowVisible(f.window()) != FALSE;
    const ElementState* s = f.element_state(element());
    return s && s->visible;
  }

  LONG state(FormWindow& f) const {
    if (!shown(f)) return STATE_SYSTEM_INVISIBLE;
    LONG st = 0;
    if (kind_ == Kind::tab) {
      st |= STATE_SYSTEM_SELECTABLE;
      const ElementState* face = f.element_state(element());
      if (face && face->picture == host::Picture::none) st |= STATE_SYSTEM_SELECTED;
    }
    if (kind_ != Kind::bar) {
      RECT seen{};
      const RECT r = f.screen_rect(element()), client = f.screen_client_rect();
      if (!IntersectRect(&seen, &r, &client)) st |= STATE_SYSTEM_OFFSCREEN;
    }
    return st;
  }

  RECT location(FormWindow& f) const {
    if (kind_ == Kind::bar) return f.screen_client_rect();
    return shown(f) ? f.screen_rect(element()) : RECT{};
  }

  HRESULT selection(FormWindow& f, VARIANT* out) const {
    if (kind_ != Kind::bar) return S_FALSE;
    for (const auto& t : f.tabs_in_order()) {
      const ElementState* face = f.element_state({Part::face, t.index});
      if (!face || face->picture != host::Picture::none) continue;
      out->vt = VT_DISPATCH;
      out->pdispVal = static_cast<IAccessible*>(make(Kind::tab, t.index, t.incarnation));
      return S_OK;
    }
    return S_FALSE;
  }

  // Hands out `node` (already referenced) as the answer, or CHILDID_SELF.
  static HRESULT answer(VARIANT* out, Node* node) noexcept {
    if (!node) {
      out->vt = VT_I4;
      out->lVal = CHILDID_SELF;
    } else {
      out->vt = VT_DISPATCH;
      out->pdispVal = static_cast<IAccessible*>(node);
    }
    return S_OK;
  }

  HRESULT navigate(FormWindow& f, long dir, VARIANT* out) const {
    LONG target = 0;
    Kind parent_kind = kind_;  // first and last child: among this node's children
    switch (dir) {
      case NAVDIR_FIRSTCHILD: target = 1; break;
      case NAVDIR_LASTCHILD: target = child_count(f, kind_); break;
      case NAVDIR_NEXT: target = position(f) + 1; break;
      case NAVDIR_PREVIOUS: target = position(f) - 1; break;
      // Spatially: in a right-to-left strip the next tab is to the left.
      case NAVDIR_RIGHT: target = position(f) + (f.right_to_left() ? -1 : 1); break;
      case NAVDIR_LEFT: target = position(f) + (f.right_to_left() ? 1 : -1); break;
      default: return S_FALSE;
    }
    if (dir != NAVDIR_FIRSTCHILD && dir != NAVDIR_LASTCHILD) {
      if (kind_ == Kind::bar) return S_FALSE;
      parent_kind = kind_ == Kind::close_button ? Kind::tab : Kind::bar;
    }
    if (target < 1 || target > child_count(f, parent_kind)) return S_FALSE;
    Node* node = child_of(f, parent_kind, target);
    if (!node) return S_FALSE;
    return answer(out, node);
  }

  HRESULT hit_test(FormWindow& f, POINT screen, VARIANT* out) const {
    const std::optional<Element> hit = f.element_at_screen(screen);
    if (!hit) return S_FALSE;
    const bool arrow = hit->part == Part::left_arrow || hit->part == Part::right_arrow;
    switch (kind_) {
      case Kind::bar: {
        if (hit->part == Part::bar) return answer(out, nullptr);
        if (arrow) return answer(out, make(hit->part == Part::left_arrow ? Kind::left_arrow : Kind::right_arrow));
        for (const auto& t : f.tabs_in_order())
          if (t.index == hit->index) return answer(out, make(Kind::tab, t.index, t.incarnation));
        return answer(out, nullptr);
      }
      case Kind::tab:
        if (arrow || hit->index != index_ || hit->part == Part::bar) return S_FALSE;
        if (hit->part == Part::close_button) return answer(out, make(Kind::close_button, index_, incarnation_));
        return answer(out, nullptr);
      default:
        return *hit == element() ? answer(out, nullptr) : S_FALSE;
    }
  }

  // The default action reaches the bar later, as a click on the element.
  HRESULT act(FormWindow& f) const {
    if (kind_ == Kind::bar) return DISP_E_MEMBERNOTFOUND;
    if (!shown(f)) return E_FAIL;
    return f.request_default_action(element(), incarnation_) ? S_OK : E_FAIL;
  }

  std::shared_ptr<AccessibleLink> link_;
  Kind kind_;
  std::int16_t index_;
  std::uint32_t incarnation_;
  ULONG cursor_ = 0;  // IEnumVARIANT: children handed out so far
};

}  // namespace

IAccessible* new_bar_accessible(const std::shared_ptr<AccessibleLink>& link) noexcept {
  IAccessible* root = nullptr;
  boundary_guard([&] { root = make_com<Node>(link, Kind::bar, 0, 0).Detach(); });
  return root;
}

}  // namespace plovera::win32
