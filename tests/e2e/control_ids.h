// Dialog control IDs of the wizard's components, as another process finds them:
// the form numbers its components from 1000 in the order it declares them.
#pragma once

namespace e2e {

enum Component : int {
    Panel1 = 1000,
    Panel2,
    BitBtn1,
    BitBtn2,
    BitBtn3,
    Image1,
    Label1,
    Label2,
    Label3,
    Label4,
    Label5,
    Label6,
    Label7,
    PageControl1,
    TabSheet1,
    TabSheet2,
    StaticText2,
    StaticText1,
    Image2,
    StaticText3,
    TabSheet3,
    StaticText6,
    BitBtn4,
    Edit1,
    BitBtn5,
    StaticText4,
};

}  // namespace e2e
