#pragma once
// The program's global foundation objects, created on first use.
class cBase;
class cDao;
class cFile;

cBase& gBase();
cFile& gFile();
cDao& gDao();            // the working database
cDao& gDaoSave();        // the save database
