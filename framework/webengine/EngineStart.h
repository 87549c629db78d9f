#pragma once
// What the web engine needs before its first view, when it is started
// late, in an application that was not prepared for it at start-up.
void PrepareWebEngineStart();
