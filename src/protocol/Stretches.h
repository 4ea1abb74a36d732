#pragma once

class ClientSession;

// Every stretch of the dispatcher installs its row handlers here, one call per stretch file,
// in the order of the dispatch chain.
void InstallStretches(ClientSession& session);
