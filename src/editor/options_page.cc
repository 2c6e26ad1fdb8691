#include "editor/options_page.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "config/configuration.h"

namespace quillet {

COptionsPage::COptionsPage(Configuration& configuration, EditorDialogs& dialogs)
    : ConfigPage(configuration, dialogs) {
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  auto* name = new QLineEdit;
  name->setObjectName("documentName");
  form->addRow(tr("Document Name"), name);
  layout->addLayout(form);

  auto* protected_members = new QCheckBox(tr("Document &protected members"));
  auto* private_members = new QCheckBox(tr("Document private members"));
  auto* functions_in_toc = new QCheckBox(tr("Show functions in &table of contents"));
  auto* sort_members = new QCheckBox(tr("Sort class and struct members"));
  protected_members->setObjectName("documentProtected");
  private_members->setObjectName("documentPrivate");
  functions_in_toc->setObjectName("functionsInToc");
  sort_members->setObjectName("sortMembers");
  for (QCheckBox* box : {protected_members, private_members, functions_in_toc, sort_members})
    layout->addWidget(box);

  auto* tabs = new QFormLayout;
  auto* tab_size = new QSpinBox;
  tab_size->setObjectName("tabSize");
  tab_size->setRange(1, 99);
  tab_size->setMinimumWidth(80);
  tabs->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  tabs->addRow(tr("Tab size"), tab_size);
  layout->addLayout(tabs);
  layout->addStretch();
  addHelpButton(layout);

  bindText(name, &Configuration::documentName, &Configuration::setDocumentName);
  bindCheck(protected_members, &Configuration::documentProtected, &Configuration::setDocumentProtected);
  bindCheck(private_members, &Configuration::documentPrivate, &Configuration::setDocumentPrivate);
  bindCheck(functions_in_toc, &Configuration::functionsInToc, &Configuration::setFunctionsInToc);
  bindCheck(sort_members, &Configuration::sortMembers, &Configuration::setSortMembers);
  bindNumber(tab_size, &Configuration::tabSize, &Configuration::setTabSize);
}

}  // namespace quillet
